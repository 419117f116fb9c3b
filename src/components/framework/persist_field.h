#pragma once
// How each kind of field is written to and read from a property archive: the archive
// member that fits its type. Reading goes into a copy of the current value, so that a
// value the archive lacks (S_FALSE) leaves the field as it was.

#include <utility>

#include "components/framework/field_traits.h"
#include "lumxip/HalvexCore.h"

template <class Field, class = void>
struct lcPersistField;

namespace lum::detail {
template <class Field, class Stored, HRESULT (ILumArchive::*Member)(BSTR, Stored*)>
struct PersistAs {
  static HRESULT write(ILumArchive& archive, BSTR name, const Field& value) {
    Stored copy = static_cast<Stored>(value);
    return (archive.*Member)(name, &copy);
  }
  static HRESULT read(ILumArchive& archive, BSTR name, Field& value) {
    Stored copy = static_cast<Stored>(value);
    const HRESULT hr = (archive.*Member)(name, &copy);
    if (hr == S_OK) value = static_cast<Field>(copy);
    return hr;
  }
};
}  // namespace lum::detail

template <>
struct lcPersistField<LONG> : lum::detail::PersistAs<LONG, LONG, &ILumArchive::PersistI4> {};
template <>
struct lcPersistField<SHORT> : lum::detail::PersistAs<SHORT, SHORT, &ILumArchive::PersistI2> {};
template <>
struct lcPersistField<BYTE> : lum::detail::PersistAs<BYTE, BYTE, &ILumArchive::PersistUI1> {};
template <>
struct lcPersistField<float> : lum::detail::PersistAs<float, FLOAT, &ILumArchive::PersistR4> {};
template <>
struct lcPersistField<double> : lum::detail::PersistAs<double, DOUBLE, &ILumArchive::PersistR8> {};
template <class E>
struct lcPersistField<E, std::enable_if_t<std::is_enum_v<E>>>
    : lum::detail::PersistAs<E, LONG, &ILumArchive::PersistI4> {};

template <>
struct lcPersistField<lcBool> {
  static HRESULT write(ILumArchive& archive, BSTR name, const lcBool& value) {
    VARIANT_BOOL copy = value.value ? VARIANT_TRUE : VARIANT_FALSE;
    return archive.PersistBoolean(name, &copy);
  }
  static HRESULT read(ILumArchive& archive, BSTR name, lcBool& value) {
    VARIANT_BOOL copy = value.value ? VARIANT_TRUE : VARIANT_FALSE;
    const HRESULT hr = archive.PersistBoolean(name, &copy);
    if (hr == S_OK) value.value = copy != 0;
    return hr;
  }
};

template <>
struct lcPersistField<lum::Bstr> {
  static HRESULT write(ILumArchive& archive, BSTR name, const lum::Bstr& value) {
    BSTR text = value.get();  // the archive copies what it writes
    return archive.PersistString(name, &text);
  }
  static HRESULT read(ILumArchive& archive, BSTR name, lum::Bstr& value) {
    BSTR text = value.copy();  // the archive frees it when it replaces it
    const HRESULT hr = archive.PersistString(name, &text);
    value = lum::Bstr::attach(text);
    return hr;
  }
};

template <>
struct lcPersistField<lum::Variant> {
  static HRESULT write(ILumArchive& archive, BSTR name, const lum::Variant& value) {
    lum::Variant copy = value;
    return archive.PersistVariant(name, copy.ptr());
  }
  static HRESULT read(ILumArchive& archive, BSTR name, lum::Variant& value) {
    return archive.PersistVariant(name, value.ptr());
  }
};

template <class I>
struct lcPersistField<ComPtr<I>> {
  static HRESULT write(ILumArchive& archive, BSTR name, const ComPtr<I>& value) {
    return archive.SaveObject(name, value.get());
  }
  static HRESULT read(ILumArchive& archive, BSTR name, ComPtr<I>& value) {
    ComPtr<IUnknown> object;
    const HRESULT hr = archive.LoadObject(name, object.put());
    if (hr != S_OK) return hr;
    if (!object) {
      value = nullptr;
      return S_OK;
    }
    ComPtr<I> typed;
    if (FAILED(object->QueryInterface(iid_of<I>, typed.putVoid()))) {
      archive.AddProblem(name, lum::Bstr(L"<not an object>").get());
      return S_FALSE;
    }
    value = std::move(typed);
    return S_OK;
  }
};
