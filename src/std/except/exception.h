#pragma once
// The core library's exceptions. Each concrete class has one 32-bit core error code of
// the form 0x1000GGNN (GG the module, NN the error); the call boundary turns them into
// result codes. Each module groups its errors under a class `Errors` in its own scope
// (lcPel::Errors, lcArchive::Errors, ...), so that callers can catch a whole module.
//
// A module declares its errors once, one line each:
//
//   namespace lcPel {
//   LC_ERROR_GROUP();
//   LC_ERROR(lcPel, BadWindow, 0x10000402);
//   }

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "std/archive/persistent.h"
#include "std/export.h"

class LC_VISIBLE lcException : public lcPersistent {
 public:
  ~lcException() override = default;

  // An exception archives only its version.
  void archive(lcArchive& archive) override;

  // The class's core error code.
  virtual uint32_t errorCode() const = 0;
  // Throws a copy of this object as its own most-derived type.
  [[noreturn]] virtual void raise() const = 0;
  // Appends the message text; by default "no further information provided".
  virtual void message(std::wostream& out) const;
  // The class name as error descriptions spell it: "class lcPel::BadWindow".
  virtual const wchar_t* className() const = 0;

  // message() as a string.
  std::wstring messageText() const;

 protected:
  lcException() = default;
  lcException(const lcException&) = default;
  lcException& operator=(const lcException&) = default;
};

// An exception with a message of its own; an empty message reads as the default text.
class LC_VISIBLE lcExceptionWithString : public lcException {
 public:
  void message(std::wostream& out) const override;
  const std::wstring& text() const { return text_; }

 protected:
  lcExceptionWithString() = default;
  explicit lcExceptionWithString(std::wstring_view text) : text_(text) {}
  explicit lcExceptionWithString(const wchar_t* text) : text_(text ? text : L"") {}

 private:
  std::wstring text_;
};

// Declares the group class `Errors` of a module, in the module's namespace or class.
#define LC_ERROR_GROUP()                                     \
  class LC_VISIBLE Errors : public ::lcExceptionWithString { \
   protected:                                                \
    using ::lcExceptionWithString::lcExceptionWithString;    \
  }

// Declares concrete error `Name` of group `Scope` with its core code. It can be made
// with no message or with one.
#define LC_ERROR(Scope, Name, code) LC_ERROR_DERIVED(Scope, Name, Errors, code)

// As LC_ERROR, with an explicit base class (for errors outside a group).
#define LC_ERROR_DERIVED(Scope, Name, Base, code)                                     \
  class LC_VISIBLE Name : public Base {                                               \
   public:                                                                            \
    static constexpr uint32_t kCode = code;                                           \
    Name() = default;                                                                 \
    explicit Name(std::wstring_view text) : Base(text) {}                             \
    explicit Name(const wchar_t* text) : Base(text) {}                                \
    uint32_t errorCode() const override { return kCode; }                             \
    [[noreturn]] void raise() const override { throw *this; }                         \
    const wchar_t* className() const override { return L"class " #Scope "::" #Name; } \
  }

// As LC_ERROR_DERIVED for a class at global scope: "class lcBadPointer".
#define LC_GLOBAL_ERROR(Name, code)                                        \
  class LC_VISIBLE Name : public ::lcExceptionWithString {                 \
   public:                                                                 \
    static constexpr uint32_t kCode = code;                                \
    Name() = default;                                                      \
    explicit Name(std::wstring_view text) : lcExceptionWithString(text) {} \
    explicit Name(const wchar_t* text) : lcExceptionWithString(text) {}    \
    uint32_t errorCode() const override { return kCode; }                  \
    [[noreturn]] void raise() const override { throw *this; }              \
    const wchar_t* className() const override { return L"class " #Name; }  \
  }

// Errors of the framework itself.
LC_GLOBAL_ERROR(lcInvariantFailure, 0x10000001);
LC_GLOBAL_ERROR(lcBadPointer, 0x10000008);
LC_GLOBAL_ERROR(lcUnsupportedHW, 0x1000000a);
LC_GLOBAL_ERROR(lcBadUnicodeChar, 0x1000000b);

// An error known only by a number: "Internal error code: 0x0000002A" (empty for 0).
class LC_VISIBLE lcUnknownError : public lcExceptionWithString {
 public:
  static constexpr uint32_t kCode = 0x10000004;
  explicit lcUnknownError(uint32_t value);
  uint32_t value() const { return value_; }
  uint32_t errorCode() const override { return kCode; }
  [[noreturn]] void raise() const override { throw *this; }
  const wchar_t* className() const override { return L"class lcUnknownError"; }

 private:
  uint32_t value_;
};

namespace lcDictionary {
LC_ERROR_GROUP();
LC_ERROR(lcDictionary, BadParams, 0x1000000c);
}  // namespace lcDictionary

namespace lcStringLiteral {
LC_ERROR_GROUP();
LC_ERROR(lcStringLiteral, BadParams, 0x1000000d);
}  // namespace lcStringLiteral
