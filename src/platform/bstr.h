#pragma once
// BSTR, the length-prefixed wide string of the component interfaces, its allocation
// functions, and `lum::Bstr`, the owning wrapper used inside the library.
//
// Layout: a 32-bit byte count, then the characters, then a null character. A BSTR
// points at the first character; a null BSTR is the empty string.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "platform/export.h"
#include "platform/types.h"

LUM_PLATFORM_API BSTR SysAllocString(const OLECHAR* text);
LUM_PLATFORM_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
LUM_PLATFORM_API BOOL SysReAllocString(BSTR* target, const OLECHAR* text);
LUM_PLATFORM_API void SysFreeString(BSTR text);
LUM_PLATFORM_API UINT SysStringLen(BSTR text);
LUM_PLATFORM_API UINT SysStringByteLen(BSTR text);

// Task memory, as the platform hands out strings it allocates for the caller.
LUM_PLATFORM_API void* CoTaskMemAlloc(std::size_t size);
LUM_PLATFORM_API void* CoTaskMemRealloc(void* block, std::size_t size);
LUM_PLATFORM_API void CoTaskMemFree(void* block);

namespace lum {

// An owned BSTR. Null and empty are the same value.
class LUM_VISIBLE Bstr {
 public:
  Bstr() noexcept = default;
  Bstr(std::wstring_view text);  // throws std::bad_alloc
  Bstr(const wchar_t* text) : Bstr(text ? std::wstring_view(text) : std::wstring_view()) {}
  Bstr(const Bstr& other) : Bstr(other.view()) {}
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr& operator=(const Bstr& other) {
    Bstr(other).swap(*this);
    return *this;
  }
  Bstr& operator=(Bstr&& other) noexcept {
    Bstr(std::move(other)).swap(*this);
    return *this;
  }
  ~Bstr() { SysFreeString(s_); }

  // Takes ownership of a BSTR allocated by the caller.
  static Bstr attach(BSTR s) noexcept {
    Bstr result;
    result.s_ = s;
    return result;
  }
  [[nodiscard]] BSTR detach() noexcept { return std::exchange(s_, nullptr); }
  // Frees the held string and gives the address for an out-parameter.
  BSTR* put() noexcept {
    reset();
    return &s_;
  }
  void reset() noexcept { SysFreeString(std::exchange(s_, nullptr)); }
  void swap(Bstr& other) noexcept { std::swap(s_, other.s_); }

  BSTR get() const noexcept { return s_; }
  // A new BSTR with the same text, for handing to an out-parameter.
  BSTR copy() const;  // throws std::bad_alloc
  std::wstring_view view() const noexcept {
    return s_ ? std::wstring_view(s_, SysStringLen(s_)) : std::wstring_view();
  }
  std::wstring str() const { return std::wstring(view()); }
  std::size_t length() const noexcept { return s_ ? SysStringLen(s_) : 0; }
  bool empty() const noexcept { return length() == 0; }

  friend bool operator==(const Bstr& a, const Bstr& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const Bstr& a, std::wstring_view b) noexcept { return a.view() == b; }

 private:
  BSTR s_ = nullptr;
};

// The text of a BSTR (or any null-terminated wide string); null reads as empty.
inline std::wstring_view bstrView(BSTR s) noexcept {
  return s ? std::wstring_view(s, SysStringLen(s)) : std::wstring_view();
}

// Allocates a BSTR holding `text` into an out-parameter: E_POINTER for a null
// out-parameter, E_OUTOFMEMORY when allocation fails.
LUM_PLATFORM_API HRESULT allocBstr(std::wstring_view text, BSTR* out) noexcept;

// UTF-8 at the edges of the system (files, the terminal, syslog). Invalid sequences and
// code points that are not Unicode scalar values become U+FFFD.
LUM_PLATFORM_API std::string toUtf8(std::wstring_view text);
LUM_PLATFORM_API std::wstring fromUtf8(std::string_view text);

}  // namespace lum
