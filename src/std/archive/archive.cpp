#include "std/archive/archive.h"

namespace {
std::wstring unknownVersionText(std::string_view source, int line) {
  return L"unknown version in " + std::wstring(source.begin(), source.end()) + L", line " +
         std::to_wstring(line);
}
}  // namespace

lcArchive::UnknownVersion::UnknownVersion(std::string_view source, int line)
    : Errors(unknownVersionText(source, line)), source_(source), line_(line) {}
