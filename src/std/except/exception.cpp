#include "std/except/exception.h"

#include <cstdio>
#include <sstream>

#include "std/archive/archive.h"

namespace {
constexpr const wchar_t* kNoInformation = L"no further information provided";
}

void lcException::archive(lcArchive& archive) {
  archive.transferVersion(1, "exception", __LINE__);
}

void lcException::message(std::wostream& out) const {
  out << kNoInformation;
}

std::wstring lcException::messageText() const {
  std::wostringstream out;
  message(out);
  return out.str();
}

void lcExceptionWithString::message(std::wostream& out) const {
  if (text_.empty())
    lcException::message(out);
  else
    out << text_;
}

namespace {
std::wstring internalErrorText(uint32_t value) {
  if (value == 0) return std::wstring();
  wchar_t buffer[40];
  std::swprintf(buffer, sizeof buffer / sizeof buffer[0], L"Internal error code: 0x%08X", value);
  return buffer;
}
}  // namespace

lcUnknownError::lcUnknownError(uint32_t value)
    : lcExceptionWithString(internalErrorText(value)), value_(value) {}
