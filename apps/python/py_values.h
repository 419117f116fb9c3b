#pragma once
// Python values to VARIANTs and back, as a script host passes them: numbers, Booleans,
// text, None for "no object", components and images (numpy arrays become images).

#include <pybind11/pybind11.h>

#include "host.h"

namespace lumxip::python {

namespace py = pybind11;

// A failed call, raised in Python as lumxip.Error.
struct CallFailed {
  Failure failure;
};

[[noreturn]] void raiseFailure(Failure failure);
// Raises CallFailed when `hr` failed, with the thread's error information.
void check(HRESULT hr, std::wstring_view what);

lum::Variant toVariant(py::handle value);
py::object fromVariant(const VARIANT& value);

}  // namespace lumxip::python
