#pragma once
// The core archive: a byte stream that core objects write themselves into and read
// themselves back from. Its errors are declared here; the archive itself follows.

#include <cstdint>
#include <string>
#include <string_view>

#include "std/except/exception.h"

class LC_VISIBLE lcArchive {
 public:
  LC_ERROR_GROUP();
  LC_ERROR(lcArchive, Eof, 0x10000100);
  LC_ERROR(lcArchive, BadBuffer, 0x10000101);
  LC_ERROR(lcArchive, BadType, 0x10000102);
  LC_ERROR(lcArchive, BadContent, 0x10000103);
  LC_ERROR(lcArchive, NotFound, 0x10000104);
  LC_ERROR(lcArchive, Duplicate, 0x10000105);
  LC_ERROR(lcArchive, UnknownType, 0x10000106);
  LC_ERROR(lcArchive, BadFile, 0x10000109);
  LC_ERROR(lcArchive, UnknownArchiveVersion, 0x1000010a);
  LC_ERROR(lcArchive, CannotWriteToOldArchive, 0x1000010b);
  LC_ERROR(lcArchive, NotSeekable, 0x1000010c);

  // A version of a serialized object that its class does not know, named by the class's
  // source ("xflinear") and the line that found it.
  class LC_VISIBLE UnknownVersion : public Errors {
   public:
    static constexpr uint32_t kCode = 0x10000107;
    UnknownVersion(std::string_view source, int line);
    const std::string& source() const { return source_; }
    int line() const { return line_; }
    uint32_t errorCode() const override { return kCode; }
    [[noreturn]] void raise() const override { throw *this; }
    const wchar_t* className() const override { return L"class lcArchive::UnknownVersion"; }

   private:
    std::string source_;
    int line_;
  };
};
