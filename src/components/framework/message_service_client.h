#pragma once
// Asking the message service of the core object library for texts and help files. The
// service is created for each look-up and released afterwards, so that a replaced or
// revoked service takes effect at once.

#include <cstdint>
#include <optional>
#include <string>

#include "components/framework/export.h"
#include "components/framework/message_args.h"

namespace lum {

// The text of a message; nothing when the service cannot be created or initialised or
// has no text for it.
LUM_FRAMEWORK_API std::optional<std::wstring> messageText(uint32_t messageId);
// The same with "%1" to "%3" replaced by the first three arguments.
LUM_FRAMEWORK_API std::optional<std::wstring> messageText(uint32_t messageId,
                                                          const lcMessageArgs& args);
LUM_FRAMEWORK_API std::optional<std::wstring> messageHelpFile(uint32_t messageId);

// " - Unable to load error message 0x8004810a": the tail of a description whose text
// could not be found.
LUM_FRAMEWORK_API std::wstring unableToLoadMessage(uint32_t messageId);

}  // namespace lum
