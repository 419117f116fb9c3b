#include "json_results.h"

#include "dispatch_calls.h"
#include "member_info.h"

namespace lumxip {

namespace {

// A one-dimensional array of numbers as a JSON array; null for any other array.
nlohmann::ordered_json arrayJson(const VARIANT& v) {
  SAFEARRAY* array = v.parray;
  const VARTYPE element = v.vt & VT_TYPEMASK;
  LONG low = 0, high = -1;
  if (array == nullptr || SafeArrayGetDim(array) != 1 || element == VT_BSTR ||
      element == VT_UNKNOWN || element == VT_DISPATCH || element == VT_VARIANT ||
      element == VT_DECIMAL || FAILED(SafeArrayGetLBound(array, 1, &low)) ||
      FAILED(SafeArrayGetUBound(array, 1, &high)))
    return nullptr;
  nlohmann::ordered_json values = nlohmann::ordered_json::array();
  for (LONG i = low; i <= high; ++i) {
    lum::Variant item;
    item.ptr()->vt = element;
    if (FAILED(SafeArrayGetElement(array, &i, &item.ptr()->lVal))) return nullptr;
    values.push_back(toJson(item.get()));
  }
  return values;
}

}  // namespace

nlohmann::ordered_json toJson(const VARIANT& value, int depth) {
  const VARIANT& v =
      (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal) ? *value.pvarVal : value;
  if ((v.vt & VT_ARRAY) && !(v.vt & VT_BYREF)) return arrayJson(v);
  switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return nullptr;
    case VT_BOOL:
      return v.boolVal != 0;
    case VT_BSTR:
      return utf8(lum::bstrView(v.bstrVal));
    case VT_UNKNOWN:
    case VT_DISPATCH:
      return v.punkVal && depth > 0 ? readableProperties(v.punkVal, depth - 1)
                                    : nlohmann::ordered_json();
    case VT_R4:
      return v.fltVal;
    case VT_R8:
      return v.dblVal;
    case VT_I8:
      return v.llVal;
    default:
      break;
  }
  lum::Variant number;
  if (SUCCEEDED(VariantChangeType(number.ptr(), &v, 0, VT_I8))) return number.get().llVal;
  return nullptr;  // what has no JSON form
}

nlohmann::ordered_json readableProperties(IUnknown* object, int depth) {
  nlohmann::ordered_json properties = nlohmann::ordered_json::object();
  ComPtr<IDispatch> dispatch;
  if (object == nullptr || FAILED(object->QueryInterface(iid_of<IDispatch>, dispatch.putVoid())))
    return properties;
  for (const auto& member : membersOf(object)) {
    if (!member.readable()) continue;
    lum::Variant value;
    if (getProperty(dispatch.get(), member.name, &value).failed()) continue;
    properties[utf8(member.name)] = toJson(value.get(), depth);
  }
  if (auto image = ComPtr<IUnknown>(object).as<ILumImage>()) {
    LONG width = 0, height = 0;
    image->get_Width(&width);
    image->get_Height(&height);
    properties["Width"] = width;
    properties["Height"] = height;
  }
  return properties;
}

nlohmann::ordered_json failureJson(const Failure& failure) {
  return {{"hresult", hresultText(failure.hr)},
          {"description", utf8(failure.description)},
          {"source", utf8(failure.source)}};
}

}  // namespace lumxip
