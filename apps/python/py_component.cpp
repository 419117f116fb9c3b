#include "py_component.h"

#include <algorithm>

#include "member_info.h"
#include "py_images.h"
#include "py_values.h"

namespace lumxip::python {

namespace {

// Dispatch's own refusals come without error information: say what they mean.
const wchar_t* dispatchProblem(HRESULT hr) {
  switch (hr) {
    case DISP_E_BADPARAMCOUNT:
      return L"wrong number of arguments";
    case DISP_E_TYPEMISMATCH:
      return L"an argument of the wrong type";
    case DISP_E_MEMBERNOTFOUND:
      return L"cannot be used that way (read-only, or not a method)";
    case DISP_E_PARAMNOTOPTIONAL:
      return L"an argument is missing";
    default:
      return nullptr;
  }
}

}  // namespace

DISPID Object::idOf(const std::wstring& name) {
  if (auto it = ids_.find(name); it != ids_.end()) return it->second;
  std::wstring text(name);
  LPOLESTR names[] = {text.data()};
  DISPID id = DISPID_UNKNOWN;
  if (HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr))
    raiseFailure(Failure{hr, L"no member named \"" + name + L"\"", L""});
  ids_.emplace(name, id);
  return id;
}

py::object Object::invoke(const std::wstring& name, WORD flags, const py::args& args) {
  const DISPID id = idOf(name);
  std::vector<lum::Variant> values;
  values.reserve(args.size());
  for (auto it = args.end(); it != args.begin();)  // DISPPARAMS holds them last-first
    values.push_back(toVariant(*--it));
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  if (put && !values.empty() &&
      (values.front().type() == VT_DISPATCH || values.front().type() == VT_UNKNOWN))
    flags = DISPATCH_PROPERTYPUTREF;
  std::vector<VARIANTARG> raw;
  raw.reserve(values.size());
  for (auto& value : values)
    raw.push_back(value.get());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{raw.data(), put ? &putId : nullptr, static_cast<UINT>(raw.size()),
                    put ? 1u : 0u};
  lum::Variant result;
  Failure failure;
  {
    py::gil_scoped_release release;
    SetErrorInfo(0, nullptr);
    UINT argError = 0;
    const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                       result.put(), nullptr, &argError);
    if (FAILED(hr)) failure = failureOf(hr);
  }
  if (failure.failed()) {
    if (const wchar_t* problem = dispatchProblem(failure.hr);
        problem && failure.description.empty())
      failure.description = name + L": " + problem;
    raiseFailure(std::move(failure));
  }
  return fromVariant(result.get());
}

py::list Object::members() const {
  py::list list;
  for (const auto& m : membersOf(object_.get())) {
    py::list enumeration;
    for (const auto& [name, value] : m.enumeration)
      enumeration.append(py::make_tuple(utf8(name), value));
    list.append(py::make_tuple(utf8(m.name), m.dispid, utf8(m.kind), typeName(m.type),
                               utf8(m.defaultValue), utf8(m.description), enumeration));
  }
  return list;
}

bool Object::sameObject(const Object& other) const {
  ComPtr<IUnknown> a, b;
  object_->QueryInterface(iid_of<IUnknown>, a.putVoid());
  other.object_->QueryInterface(iid_of<IUnknown>, b.putVoid());
  return a.get() == b.get();
}

const std::string& Object::classId() {
  if (!classId_) {
    ComPtr<IPersist> persist;
    CLSID clsid{};
    const bool known = SUCCEEDED(object_->QueryInterface(iid_of<IPersist>, persist.putVoid())) &&
                       SUCCEEDED(persist->GetClassID(&clsid));
    classId_ = known ? lum::toString(clsid) : std::string();
  }
  return *classId_;
}

py::object wrapObject(IUnknown* object) {
  if (object == nullptr) return py::none();
  ComPtr<IDispatch> dispatch;
  if (FAILED(object->QueryInterface(iid_of<IDispatch>, dispatch.putVoid())))
    return py::none();  // nothing a script could call
  if (ComPtr<ILumImage> image;
      SUCCEEDED(object->QueryInterface(iid_of<ILumImage>, image.putVoid())))
    return py::cast(Image(std::move(dispatch)));
  return py::cast(Object(std::move(dispatch)));
}

void bindObject(py::module_& module) {
  py::class_<Object>(module, "Object")
      .def("_invoke", &Object::invoke, py::arg("name"), py::arg("flags"))
      .def("_members", &Object::members)
      .def("_same", &Object::sameObject)
      .def("_class_id", &Object::classId);
}

}  // namespace lumxip::python
