#pragma once
// Python callables as event sinks: change events and tool events. The callback runs on
// the thread that raised the event, with the GIL taken.

#include <pybind11/pybind11.h>

namespace lumxip::python {

namespace py = pybind11;

void bindEvents(py::module_& module);

}  // namespace lumxip::python
