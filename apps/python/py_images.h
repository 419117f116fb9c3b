#pragma once
// numpy arrays as images and images as buffers. An array whose rows are contiguous
// pixels is wrapped without a copy (the image holds the array); any other layout is
// copied once. An image hands out its pixels read-only through the buffer protocol.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <optional>

#include "py_component.h"

namespace lumxip::python {

// An image component: an Object that also exposes its pixels as a buffer.
class Image : public Object {
 public:
  using Object::Object;

  // (height, width) of grey and range images, (height, width, 3) of planar colour.
  py::buffer_info pixels();
  // The valid-pixel mask of a range image (0 = missing), else None.
  py::object mask();

 private:
  // Pixel memories (and copies) handed out as buffers stay alive with the image object.
  void keep(ComPtr<IUnknown> memory);
  std::vector<ComPtr<IUnknown>> handedOut_;
};

// Whether a value is a numpy array (masked too).
bool isArrayLike(py::handle value);

// uint8 H×W → 8-bit grey, uint16 H×W → 16-bit grey with `depth` (default 16 bits),
// uint8 H×W×3 → planar RGB colour, a masked uint16 H×W array → a range image whose mask
// is 0 where the array is masked. TypeError/ValueError for anything else.
ComPtr<ILumImage> imageFromArray(py::handle array, std::optional<LONG> depth);

void bindImages(py::module_& module);

}  // namespace lumxip::python
