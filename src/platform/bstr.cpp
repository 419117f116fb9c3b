#include "platform/bstr.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>
#include <new>

namespace {

using ByteCount = uint32_t;
constexpr std::size_t kPrefix = sizeof(ByteCount);
constexpr std::size_t kMaxLength =
    (std::numeric_limits<ByteCount>::max() - kPrefix) / sizeof(OLECHAR) - 1;

ByteCount* prefixOf(BSTR s) {
  return reinterpret_cast<ByteCount*>(s) - 1;
}

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxLength) return nullptr;
  const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
  void* block = std::malloc(kPrefix + bytes + sizeof(OLECHAR));
  if (block == nullptr) return nullptr;
  *static_cast<ByteCount*>(block) = static_cast<ByteCount>(bytes);
  auto* s = reinterpret_cast<BSTR>(static_cast<char*>(block) + kPrefix);
  if (text != nullptr)
    std::memcpy(s, text, bytes);
  else
    std::memset(s, 0, bytes);
  s[length] = L'\0';
  return s;
}

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  const std::size_t length = std::wcslen(text);
  if (length > kMaxLength) return nullptr;
  return SysAllocStringLen(text, static_cast<UINT>(length));
}

BOOL SysReAllocString(BSTR* target, const OLECHAR* text) {
  if (target == nullptr) return FALSE;
  BSTR fresh = SysAllocString(text);
  if (fresh == nullptr && text != nullptr) return FALSE;
  SysFreeString(*target);
  *target = fresh;
  return TRUE;
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(prefixOf(text));
}

UINT SysStringByteLen(BSTR text) {
  return text ? *prefixOf(text) : 0;
}

UINT SysStringLen(BSTR text) {
  return SysStringByteLen(text) / sizeof(OLECHAR);
}

void* CoTaskMemAlloc(std::size_t size) {
  return std::malloc(size);
}
void* CoTaskMemRealloc(void* block, std::size_t size) {
  return std::realloc(block, size);
}
void CoTaskMemFree(void* block) {
  std::free(block);
}

namespace lum {

Bstr::Bstr(std::wstring_view text) {
  if (text.empty()) return;
  if (text.size() > kMaxLength) throw std::bad_alloc();
  s_ = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (s_ == nullptr) throw std::bad_alloc();
}

BSTR Bstr::copy() const {
  if (s_ == nullptr) return nullptr;
  BSTR result = SysAllocStringLen(s_, SysStringLen(s_));
  if (result == nullptr) throw std::bad_alloc();
  return result;
}

HRESULT allocBstr(std::wstring_view text, BSTR* out) noexcept {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (text.size() > kMaxLength) return E_OUTOFMEMORY;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isScalarValue(char32_t c) {
  return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

void appendUtf8(std::string& out, char32_t c) {
  if (!isScalarValue(c)) c = kReplacement;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string toUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (wchar_t w : text)
    appendUtf8(out, static_cast<char32_t>(static_cast<uint32_t>(w)));
  return out;
}

std::wstring fromUtf8(std::string_view text) {
  std::wstring out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t c = 0, minimum = 0;
    if (lead < 0x80) {
      c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      out += static_cast<wchar_t>(kReplacement);
      ++i;
      continue;
    }
    std::size_t j = i + 1;
    bool valid = true;
    for (int k = 0; k < extra; ++k, ++j) {
      if (j >= text.size() || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) {
        valid = false;
        break;
      }
      c = (c << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
    }
    if (!valid || c < minimum || !isScalarValue(c)) {
      out += static_cast<wchar_t>(kReplacement);
      i = j;  // one replacement for the longest malformed prefix
      continue;
    }
    out += static_cast<wchar_t>(c);
    i = j;
  }
  return out;
}

}  // namespace lum
