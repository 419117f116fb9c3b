#include "py_values.h"

#include <cstdint>
#include <limits>

#include "py_component.h"
#include "py_images.h"

namespace lumxip::python {

void raiseFailure(Failure failure) {
  throw CallFailed{std::move(failure)};
}

void check(HRESULT hr, std::wstring_view what) {
  if (SUCCEEDED(hr)) return;
  Failure failure = failureOf(hr);
  if (failure.description.empty()) failure.description = std::wstring(what) + L" failed";
  raiseFailure(std::move(failure));
}

namespace {

lum::Variant integerVariant(py::handle value) {
  const auto number = value.cast<long long>();  // OverflowError beyond 64 bits
  if (number >= std::numeric_limits<int32_t>::min() &&
      number <= std::numeric_limits<int32_t>::max())
    return lum::Variant(static_cast<int32_t>(number));
  lum::Variant wideValue;
  wideValue.put()->vt = VT_I8;
  wideValue.ptr()->llVal = number;
  return wideValue;
}

// A one-dimensional array of VARIANTs holding the items of a list or tuple.
lum::Variant arrayVariant(py::sequence items) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(py::len(items)));
  if (array == nullptr) throw std::bad_alloc();
  lum::Variant result;
  result.put()->vt = VT_ARRAY | VT_VARIANT;
  result.ptr()->parray = array;
  LONG index = 0;
  for (py::handle item : items) {
    lum::Variant element = toVariant(item);
    SafeArrayPutElement(array, &index, element.ptr());
    ++index;
  }
  return result;
}

py::object arrayValue(const VARIANT& value) {
  py::list items;
  SAFEARRAY* array = value.parray;
  if (array == nullptr || SafeArrayGetDim(array) != 1) return items;
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  const VARTYPE type = static_cast<VARTYPE>(value.vt & ~VT_ARRAY);
  for (LONG i = lower; i <= upper; ++i) {
    lum::Variant element;
    if (type == VT_VARIANT) {
      if (FAILED(SafeArrayGetElement(array, &i, element.put()))) continue;
    } else {
      VARIANT* raw = element.put();
      if (FAILED(SafeArrayGetElement(array, &i, &raw->lVal))) continue;
      raw->vt = type;  // the element's bytes now sit in the union, owned by `element`
    }
    items.append(fromVariant(element.get()));
  }
  return items;
}

}  // namespace

lum::Variant toVariant(py::handle value) {
  if (value.is_none()) return lum::Variant(static_cast<IDispatch*>(nullptr));
  if (py::isinstance<py::bool_>(value)) return lum::Variant(value.cast<bool>());
  if (py::isinstance<Object>(value)) return lum::Variant(value.cast<Object&>().dispatch());
  if (py::isinstance<py::int_>(value)) return integerVariant(value);
  if (py::isinstance<py::float_>(value)) return lum::Variant(value.cast<double>());
  if (py::isinstance<py::str>(value))
    return lum::Variant(std::wstring_view(wide(value.cast<std::string>())));
  if (isArrayLike(value)) return lum::Variant(imageFromArray(value, std::nullopt).get());
  if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value))
    return arrayVariant(py::reinterpret_borrow<py::sequence>(value));
  // Integer-like values (numpy scalars, IntEnum) and real-like ones.
  if (py::hasattr(value, "__index__")) return integerVariant(value.attr("__index__")());
  if (py::hasattr(value, "__float__")) return lum::Variant(value.cast<double>());
  throw py::type_error("cannot pass a value of type " +
                       py::str(value.get_type().attr("__name__")).cast<std::string>());
}

py::object fromVariant(const VARIANT& value) {
  if (value.vt & VT_ARRAY) return arrayValue(value);
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return py::none();
    case VT_BOOL:
      return py::bool_(value.boolVal != VARIANT_FALSE);
    case VT_UI1:
      return py::int_(value.bVal);
    case VT_I2:
      return py::int_(value.iVal);
    case VT_I4:
      return py::int_(value.lVal);
    case VT_I8:
      return py::int_(value.llVal);
    case VT_R4:
      return py::float_(value.fltVal);
    case VT_R8:
      return py::float_(value.dblVal);
    case VT_BSTR:
      return py::str(utf8(lum::bstrView(value.bstrVal)));
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return wrapObject(value.punkVal);
    default: {
      lum::Variant converted;
      if (SUCCEEDED(VariantChangeType(converted.put(), &value, 0, VT_BSTR)))
        return fromVariant(converted.get());
      return py::none();
    }
  }
}

}  // namespace lumxip::python
