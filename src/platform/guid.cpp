#include "platform/guid.h"

#include <cstdio>
#include <cwchar>

namespace lum {

bool parseGuid(std::wstring_view text, GUID& out) {
  GUID parsed;
  if (!detail::parseGuidText(text, parsed)) return false;
  out = parsed;
  return true;
}

bool parseGuid(std::string_view text, GUID& out) {
  GUID parsed;
  if (!detail::parseGuidText(text, parsed)) return false;
  out = parsed;
  return true;
}

std::string toString(const GUID& g) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                g.Data1, g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3],
                g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
  return buffer;
}

std::wstring toWString(const GUID& g) {
  const std::string narrow = toString(g);
  return std::wstring(narrow.begin(), narrow.end());
}

}  // namespace lum

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = CLSID_NULL;
  if (text == nullptr) return S_OK;  // a null string names the null class
  return lum::parseGuid(std::wstring_view(text), *clsid) ? S_OK : CO_E_CLASSSTRING;
}

HRESULT IIDFromString(LPCOLESTR text, IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = IID_NULL;
  if (text == nullptr) return S_OK;
  return lum::parseGuid(std::wstring_view(text), *iid) ? S_OK : E_INVALIDARG;
}

int StringFromGUID2(REFGUID guid, LPOLESTR buffer, int capacity) {
  const std::wstring text = lum::toWString(guid);
  const int needed = static_cast<int>(text.size()) + 1;
  if (buffer == nullptr || capacity < needed) return 0;
  std::wmemcpy(buffer, text.c_str(), static_cast<std::size_t>(needed));
  return needed;
}
