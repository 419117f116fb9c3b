#pragma once
// An IStream over a file, for saving components to disk and loading them back.

#include <filesystem>

#include "platform/export.h"
#include "platform/stream.h"

inline constexpr HRESULT STG_E_FILENOTFOUND = hresultFrom(0x80030002);
inline constexpr HRESULT STG_E_WRITEFAULT = hresultFrom(0x8003001D);

namespace lum {

enum class FileStreamMode {
  read,    // an existing file; writing gives STG_E_ACCESSDENIED
  create,  // a new file, or an existing one emptied; readable and writable
};

// Opens `file` and positions the stream at its start. A missing file gives
// STG_E_FILENOTFOUND, one that may not be opened STG_E_ACCESSDENIED, anything else
// STG_E_INVALIDPARAMETER. Clones share the file and have their own position.
LUM_PLATFORM_API HRESULT createFileStream(const std::filesystem::path& file, FileStreamMode mode,
                                          IStream** stream);

}  // namespace lum
