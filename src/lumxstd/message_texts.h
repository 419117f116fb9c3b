#pragma once
// The texts of the messages the message service gives, by identifier.

#include <cstdint>
#include <string_view>

namespace lumxstd {

// The text of `messageId`, with "%1".."%3" markers for its arguments; empty when there
// is none.
std::wstring_view messageTextFor(uint32_t messageId);

// The help file that documents every message.
inline constexpr std::wstring_view kMessageHelpFile = L"lumxip-messages.html";

}  // namespace lumxstd
