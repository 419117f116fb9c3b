#pragma once
// The module entry points of the core object library stand-in: its classes register
// in-process when it loads, and in the registry file through DllRegisterServer, so a
// process that loads the lumxip library from the registry file finds them too.

#include <filesystem>

#include "platform/export.h"

namespace lumxstd {
// The absolute path of the loaded lumxstd library file.
LUM_VISIBLE std::filesystem::path modulePath();
}  // namespace lumxstd
