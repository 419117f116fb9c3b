#pragma once
// Components (and images) to bytes and back through the persistence service, in its
// binary or JSON encoding; images from and to image files.

#include <pybind11/pybind11.h>

namespace lumxip::python {

namespace py = pybind11;

void bindPersistence(py::module_& module);

}  // namespace lumxip::python
