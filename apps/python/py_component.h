#pragma once
// A component seen from Python: calls by name through its IDispatch, with the GIL
// released while the component works, and its own description of its members.

#include <pybind11/pybind11.h>

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host.h"

namespace lumxip::python {

namespace py = pybind11;

class Object {
 public:
  explicit Object(ComPtr<IDispatch> object) : object_(std::move(object)) {}
  virtual ~Object() = default;

  IDispatch* dispatch() const { return object_.get(); }

  // Invokes `name` with the Python arguments in call order; `flags` are the dispatch
  // flags (a put of an object becomes a putref). Raises CallFailed on failure.
  py::object invoke(const std::wstring& name, WORD flags, const py::args& args);

  // (name, dispid, kind, type, default, description, [(enum name, value)]) per member.
  py::list members() const;

  bool sameObject(const Object& other) const;

  // "{class identifier}" of a persistable object, else "" (the cache key of members);
  // asked once, as every attribute access needs it.
  const std::string& classId();

 private:
  DISPID idOf(const std::wstring& name);

  ComPtr<IDispatch> object_;
  std::unordered_map<std::wstring, DISPID> ids_;  // guarded by the GIL
  std::optional<std::string> classId_;            // likewise
};

// The Python object for a component or image; None for a null pointer.
py::object wrapObject(IUnknown* object);

void bindObject(py::module_& module);

}  // namespace lumxip::python
