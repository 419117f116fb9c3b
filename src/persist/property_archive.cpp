#include "persist/property_archive.h"

#include "persist/internal/archive_class.h"

#include "platform/locale.h"
#include "platform/variant_types.h"

namespace {

constexpr uint32_t kMessageBadPropertyName = 0x80048202;

bool isLetterOrDigit(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9');
}

// A default is given unless it is the "missing" marker, VT_ERROR.
const VARIANT* givenDefault(const VARIANT& v) {
  return v.vt == VT_ERROR ? nullptr : &v;
}

void checkName(std::wstring_view name) {
  if (!lcIsValidPropertyName(name)) {
    const std::wstring text(name);
    throwInvalidArgument(kMessageBadPropertyName, lcMessageArgs(text.c_str()));
  }
}

}  // namespace

ComPtr<CLumArchive> CLumArchive::create(LONG mode) {
  auto archive = lum::makeComObject<CLumArchive>();
  throwIfFailed(archive->FinalConstruct());
  archive->mode_ = mode;
  return archive;
}

ComPtr<ILumArchive> lcCreatePropertyArchive(LONG mode) {
  return ComPtr<ILumArchive>(static_cast<ILumArchive*>(CLumArchive::create(mode).get()));
}

void lcAppendToArchive(ILumArchive& archive, const VARIANT& value, std::wstring_view key) {
  static_cast<CLumArchive&>(archive).collection().add(value, key, -1);
}

bool lcIsValidPropertyName(std::wstring_view name) {
  if (name.empty()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const wchar_t c = name[i];
    const bool always = isLetterOrDigit(c) || c == L'_' || c == L':';
    if (!always && (i == 0 || (c != L'.' && c != L'-'))) return false;
  }
  return true;
}

void CLumArchive::recordProblem(std::wstring_view name, std::wstring_view text) {
  if (!problems_.empty()) problems_ += L", ";
  problems_ += name;
  problems_ += text;
  ++problemCount_;
}

// A floating value stored as text may use ".", whatever the locale it is read under.
void CLumArchive::convertDecimalPoint(VARIANT& value) {
  if (value.vt != VT_BSTR || value.bstrVal == nullptr) return;
  if (decimalSeparator_ == 0) decimalSeparator_ = lum::userDecimalSeparator();
  for (UINT i = 0; i < SysStringLen(value.bstrVal); ++i) {
    if (value.bstrVal[i] == L'.') {
      value.bstrVal[i] = decimalSeparator_;
      return;
    }
  }
}

HRESULT CLumArchive::read(std::wstring_view name, const VARIANT* defaultValue, VARIANT& out) {
  if (writing()) return E_FAIL;
  if (!lcIsValidPropertyName(name)) return E_INVALIDARG;
  const VARTYPE wanted = out.vt;
  LONG index = -1;
  auto& entries = collection();
  if (cursor_ < entries.count() && entries.key(cursor_).view() == name)
    index = cursor_;
  else
    index = entries.findKey(name);
  if (index < 0) {
    recordProblem(name, {});
    if (defaultValue == nullptr) return E_INVALIDARG;
    return VariantCopy(&out, defaultValue);
  }
  cursor_ = index + 1;
  if (consumed_.size() <= static_cast<std::size_t>(index)) consumed_.resize(index + 1);
  consumed_[index] = true;
  if (HRESULT hr = VariantCopy(&out, entries.item(index).ptr()); FAILED(hr)) return hr;
  if (wanted == VT_EMPTY || wanted == VT_ERROR) return S_OK;
  if (wanted == VT_R4 || wanted == VT_R8) convertDecimalPoint(out);
  (void)VariantChangeType(&out, &out, 0, wanted);  // a value that does not convert stays
  return S_OK;
}

HRESULT CLumArchive::write(std::wstring_view name, const VARIANT& value,
                           const VARIANT* defaultValue) {
  if (!writing()) return E_FAIL;
  if (!lcIsValidPropertyName(name)) return E_INVALIDARG;
  if (defaultValue &&
      VarCmp(const_cast<VARIANT*>(&value), defaultValue, LOCALE_USER_DEFAULT, 0) == VARCMP_EQ)
    return S_OK;
  collection().add(value, name, -1);
  return S_OK;
}

HRESULT CLumArchive::ReadProperty(BSTR name, VARIANT defaultValue, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  return callBoundary(context(L"ReadProperty"), [&] {
    if (writing()) return E_FAIL;
    checkName(lum::bstrView(name));
    const HRESULT hr = read(lum::bstrView(name), givenDefault(defaultValue), *value);
    if (hr == E_INVALIDARG) throw lcCOMError(E_INVALIDARG, 0);  // described by its result
    return hr;
  });
}

HRESULT CLumArchive::WriteProperty(BSTR name, VARIANT value, VARIANT defaultValue) {
  if (name == nullptr) return E_POINTER;
  return callBoundary(context(L"WriteProperty"), [&] {
    if (!writing()) return E_FAIL;
    checkName(lum::bstrView(name));
    return write(lum::bstrView(name), value, givenDefault(defaultValue));
  });
}

namespace {
// The member of a VARIANT of type Vt (a scalar or VT_BSTR).
template <VARTYPE Vt>
constexpr auto memberFor() {
  if constexpr (Vt == VT_BSTR)
    return &VARIANT::bstrVal;
  else
    return lum::detail::VariantScalar<Vt>::value;
}
}  // namespace

HRESULT CLumArchive::writeNamed(BSTR name, const VARIANT& value) {
  if (name == nullptr) return E_POINTER;
  checkName(lum::bstrView(name));
  return write(lum::bstrView(name), value, nullptr);
}

HRESULT CLumArchive::readNamed(BSTR name, VARIANT& out) {
  const std::wstring_view text = lum::bstrView(name);
  if (!lcIsValidPropertyName(text)) {
    recordProblem(text, L"<invalid name>");
    return S_FALSE;
  }
  return FAILED(read(text, nullptr, out)) ? S_FALSE : S_OK;
}

template <VARTYPE vt, class V>
HRESULT CLumArchive::persistScalar(BSTR name, V* value, const wchar_t* invalidText) {
  if (value == nullptr) return E_POINTER;
  return callBoundary(context(L"Persist"), [&]() -> HRESULT {
    constexpr V VARIANT::*member = memberFor<vt>();
    if (writing()) {
      lum::Variant wrapped;
      wrapped.ptr()->vt = vt;
      if constexpr (std::is_same_v<V, BSTR>) {
        wrapped.ptr()->bstrVal = SysAllocStringLen(*value, SysStringLen(*value));
        if (*value && !wrapped.get().bstrVal) throw std::bad_alloc();
      } else {
        wrapped.ptr()->*member = *value;
      }
      return writeNamed(name, wrapped.get());
    }
    lum::Variant read;
    if (readNamed(name, *read.ptr()) != S_OK) return S_FALSE;
    if (vt == VT_R4 || vt == VT_R8) convertDecimalPoint(*read.ptr());
    if (FAILED(read.changeType(vt))) {
      recordProblem(lum::bstrView(name), invalidText);
      return S_FALSE;
    }
    if constexpr (std::is_same_v<V, BSTR>) SysFreeString(*value);
    *value = std::exchange(read.ptr()->*member, V{});  // a string passes to the caller
    return S_OK;
  });
}

HRESULT CLumArchive::PersistUI1(BSTR name, BYTE* value) {
  return persistScalar<VT_UI1>(name, value, L"<invalid byte value>");
}
HRESULT CLumArchive::PersistI2(BSTR name, SHORT* value) {
  return persistScalar<VT_I2>(name, value, L"<invalid integer value>");
}
HRESULT CLumArchive::PersistI4(BSTR name, LONG* value) {
  return persistScalar<VT_I4>(name, value, L"<invalid long value>");
}
HRESULT CLumArchive::PersistR4(BSTR name, FLOAT* value) {
  return persistScalar<VT_R4>(name, value, L"<invalid float value>");
}
HRESULT CLumArchive::PersistR8(BSTR name, DOUBLE* value) {
  return persistScalar<VT_R8>(name, value, L"<invalid double value>");
}
HRESULT CLumArchive::PersistBoolean(BSTR name, VARIANT_BOOL* value) {
  return persistScalar<VT_BOOL>(name, value, L"<invalid Boolean value>");
}
HRESULT CLumArchive::PersistString(BSTR name, BSTR* value) {
  return persistScalar<VT_BSTR>(name, value, L"<invalid string value>");
}

HRESULT CLumArchive::PersistVariant(BSTR name, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  return callBoundary(context(L"PersistVariant"), [&]() -> HRESULT {
    if (writing()) return writeNamed(name, *value);
    lum::Variant read;
    if (readNamed(name, *read.ptr()) != S_OK) return S_FALSE;
    VariantClear(value);
    read.detachTo(value);
    return S_OK;
  });
}

HRESULT CLumArchive::LoadObject(BSTR name, IUnknown** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  return callBoundary(context(L"LoadObject"), [&]() -> HRESULT {
    if (writing()) return E_FAIL;
    lum::Variant read;
    if (readNamed(name, *read.ptr()) != S_OK) return S_FALSE;
    if (FAILED(read.changeType(VT_UNKNOWN))) {
      recordProblem(lum::bstrView(name), L"<not an object>");
      return S_FALSE;
    }
    *object = std::exchange(read.ptr()->punkVal, nullptr);
    return S_OK;
  });
}

HRESULT CLumArchive::SaveObject(BSTR name, IUnknown* object) {
  return callBoundary(context(L"SaveObject"), [&]() -> HRESULT {
    if (!writing()) return E_FAIL;
    return writeNamed(name, lum::Variant(object).get());
  });
}

HRESULT CLumArchive::get_Mode(LONG* mode) {
  if (mode == nullptr) return E_POINTER;
  *mode = mode_;
  return S_OK;
}

HRESULT CLumArchive::put_Mode(LONG mode) {
  mode_ = mode;
  cursor_ = 0;
  return S_OK;
}

HRESULT CLumArchive::get_Problems(BSTR* problems) {
  return lum::allocBstr(problems_, problems);
}

HRESULT CLumArchive::get_ProblemCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = problemCount_;
  return S_OK;
}

HRESULT CLumArchive::AddProblem(BSTR name, BSTR text) {
  return callBoundary(context(L"AddProblem"),
                      [&] { recordProblem(lum::bstrView(name), lum::bstrView(text)); });
}

HRESULT CLumArchive::get_UnreadKeys(BSTR* keys) {
  if (keys == nullptr) return E_POINTER;
  *keys = nullptr;
  return callBoundary(context(L"get_UnreadKeys"), [&] {
    std::wstring unread;
    const LONG n = collection().count();
    for (LONG i = 0; i < n; ++i) {
      if (static_cast<std::size_t>(i) < consumed_.size() && consumed_[i]) continue;
      const lum::Bstr key = collection().key(i);
      if (key.empty()) continue;
      if (!unread.empty()) unread += L", ";
      unread += key.view();
    }
    return lum::allocBstr(unread, keys);
  });
}

HRESULT CLumArchive::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  VARIANT none;
  VariantInit(&none);
  none.vt = VT_ERROR;
  none.scode = DISP_E_PARAMNOTFOUND;
  if (name == nullptr) return E_POINTER;
  lum::Bstr bstrName;  // a plain string, not a BSTR
  if (FAILED(lum::allocBstr(name, bstrName.put()))) return E_OUTOFMEMORY;
  return ReadProperty(bstrName.get(), none, value);
}

HRESULT CLumArchive::Write(LPCOLESTR name, VARIANT* value) {
  if (value == nullptr) return E_POINTER;
  VARIANT none;
  VariantInit(&none);
  none.vt = VT_ERROR;
  none.scode = DISP_E_PARAMNOTFOUND;
  if (name == nullptr) return E_POINTER;
  lum::Bstr bstrName;
  if (FAILED(lum::allocBstr(name, bstrName.put()))) return E_OUTOFMEMORY;
  return WriteProperty(bstrName.get(), *value, none);
}

HRESULT CLumArchive::Persist(ILumArchive* target, LONG mode) {
  if (target == nullptr) return E_POINTER;
  return callBoundary(context(L"Persist"), [&] { collection().persist(*target, mode); });
}
