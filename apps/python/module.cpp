// The extension module behind the Python package `lumxip`: components driven by name,
// images over numpy arrays, events and persistence. The package's Python part gives
// them their Pythonic face (attributes, enumerations, pickling).

#include <pybind11/pybind11.h>

#include "py_component.h"
#include "py_events.h"
#include "py_images.h"
#include "py_persistence.h"
#include "py_values.h"

namespace py = pybind11;
using namespace lumxip::python;

namespace {

py::object create(const std::string& progId) {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(lumxip::wide(progId).c_str(), &clsid)))
    raiseFailure(lumxip::Failure{REGDB_E_CLASSNOTREG,
                                 L"unknown ProgID \"" + lumxip::wide(progId) + L"\"", L""});
  ComPtr<IDispatch> component;
  SetErrorInfo(0, nullptr);
  check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IDispatch>,
                         component.putVoid()),
        L"creating " + lumxip::wide(progId));
  return wrapObject(component.get());
}

// The ProgIDs of the registered classes, in the registry's order.
py::list progIds() {
  py::list ids;
  for (const auto& entry : lum::registeredClasses()) {
    const std::wstring& progId = entry.versionIndependentProgId.empty()
                                     ? entry.versionedProgId
                                     : entry.versionIndependentProgId;
    if (!progId.empty()) ids.append(lumxip::utf8(progId));
  }
  return ids;
}

}  // namespace

PYBIND11_MODULE(_lumxip, module) {
  module.doc() = "lumxip image-processing components";
  // Failures become lumxip.Error, defined by the package's Python part.
  py::register_exception_translator([](std::exception_ptr failure) {
    try {
      if (failure) std::rethrow_exception(failure);
    } catch (const CallFailed& e) {
      py::object error = py::module_::import("lumxip._errors").attr("Error");
      py::object raised =
          error(static_cast<unsigned long>(static_cast<ULONG>(e.failure.hr)),
                lumxip::utf8(e.failure.description), lumxip::utf8(e.failure.source));
      PyErr_SetObject(error.ptr(), raised.ptr());
    }
  });
  bindObject(module);
  bindImages(module);
  bindEvents(module);
  bindPersistence(module);
  module.def("create", &create, py::arg("progid"),
             "A new component made by its ProgID (\"Halvex.LumHistogram\").");
  module.def("_progids", &progIds);
}
