#include "py_images.h"

#include <pybind11/stl.h>

#include <array>
#include <cstring>
#include <limits>

#include "py_values.h"

namespace lumxip::python {
namespace {

// Holds a numpy array for as long as pixel memory over its bytes lives. The last release
// may come from any thread, so the reference is dropped with the GIL taken.
class ArrayOwner final : public lum::ComObject<IUnknown> {
 public:
  explicit ArrayOwner(py::object array) : array_(array.release().ptr()) {}
  ~ArrayOwner() override {
    if (!Py_IsInitialized()) return;  // the interpreter is gone: nothing left to free
    py::gil_scoped_acquire gil;
    Py_XDECREF(array_);
  }

 private:
  PyObject* array_;
};

// A packed copy of planar pixels, for a colour image whose planes are not evenly spaced.
class PackedPixels final : public lum::ComObject<IUnknown> {
 public:
  std::vector<uint8_t> bytes;
};

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<I>, object.putVoid()),
        L"creating an image object");
  return object;
}

LONG checkedSize(py::ssize_t size) {
  if (size < 0 || size > std::numeric_limits<LONG>::max())
    throw py::value_error("the array is too large for an image");
  return static_cast<LONG>(size);
}

// Whether rows of `width` pixels of `itemSize` bytes, `rowStride` bytes apart and with
// adjacent pixels `pixelStride` apart, can be pixel memory as they are.
bool wrappable(py::ssize_t pixelStride, py::ssize_t rowStride, py::ssize_t width,
               py::ssize_t itemSize) {
  return pixelStride == itemSize && rowStride > 0 && rowStride % itemSize == 0 &&
         rowStride / itemSize >= width && rowStride / itemSize <= std::numeric_limits<LONG>::max();
}

// Pixel memory over `pixel00` with `stride` pixels a row, kept alive by `owner`.
template <class Pel, class Init, class Memory>
ComPtr<Memory> memoryOver(Pel* pixel00, LONG width, LONG height, LONG stride, IUnknown* owner,
                          const CLSID& clsid) {
  auto memory = create<Init>(clsid);
  if (width == 0 || height == 0) pixel00 = nullptr, width = 0, height = 0, stride = 0;
  check(memory->Initialize(width, height, pixel00, stride, owner), L"initialising pixel memory");
  return memory.template as<Memory>();
}

template <class Pel>
ComPtr<std::conditional_t<sizeof(Pel) == 1, ILumImage8PixelMemory, ILumImage16PixelMemory>> planeOf(
    py::array array, py::ssize_t offset) {
  using Memory =
      std::conditional_t<sizeof(Pel) == 1, ILumImage8PixelMemory, ILumImage16PixelMemory>;
  using Init =
      std::conditional_t<sizeof(Pel) == 1, ILumImage8PixelMemoryInit, ILumImage16PixelMemoryInit>;
  const CLSID& clsid = sizeof(Pel) == 1 ? CLSID_LumImage8PixelMemory : CLSID_LumImage16PixelMemory;
  const LONG height = checkedSize(array.shape(0)), width = checkedSize(array.shape(1));
  auto owner = lum::makeComObject<ArrayOwner>(array);
  Pel* base = reinterpret_cast<Pel*>(static_cast<char*>(array.mutable_data()) + offset);
  const auto stride = static_cast<LONG>(array.strides(0) / static_cast<py::ssize_t>(sizeof(Pel)));
  return memoryOver<Pel, Init, Memory>(base, width, height, stride,
                                       static_cast<IUnknown*>(owner.get()), clsid);
}

py::module_ numpy() {
  return py::module_::import("numpy");
}

// The array itself when its rows can be wrapped, else a C-contiguous copy (a read-only
// array is copied too: operators may be handed writable access to their input).
template <class Pel>
py::array wrappableGrey(py::array array) {
  if (array.writeable() && wrappable(array.strides(1), array.strides(0), array.shape(1),
                                     static_cast<py::ssize_t>(sizeof(Pel))))
    return array;
  return array.attr("copy")();  // C order, writable
}

// H×W×3 whose planes each have contiguous rows; else a planar copy seen as H×W×3.
py::array wrappableColour(py::array array) {
  if (array.writeable() && array.strides(2) != 0 &&
      wrappable(array.strides(1), array.strides(0), array.shape(1), 1))
    return array;
  py::object planar = numpy().attr("ascontiguousarray")(numpy().attr("moveaxis")(array, 2, 0));
  return numpy().attr("moveaxis")(planar, 0, 2);
}

void checkDepth(LONG depth) {
  if (depth < lumPixelDepth10Bits || depth > lumPixelDepth8Bits)
    throw py::value_error("a pixel depth code is 1 (10 bits) to 5 (8 bits)");
}

ComPtr<ILumImage> rangeImage(py::handle masked, LONG depth) {
  py::module_ ma = numpy().attr("ma");
  py::array values = wrappableGrey<uint16_t>(py::array(masked.attr("data")));
  py::array missing = ma.attr("getmaskarray")(masked);
  py::array mask = numpy().attr("where")(missing, uint8_t{0}, uint8_t{255}).attr("astype")("uint8");
  auto image = create<ILumImage16Range>(CLSID_LumImage16Range);
  check(image->SetPixelMemory(planeOf<uint16_t>(values, 0).get(), planeOf<uint8_t>(mask, 0).get()),
        L"giving the image its pixels");
  check(image->put_PixelDepth(depth), L"setting the pixel depth");
  return image.as<ILumImage>();
}

}  // namespace

bool isArrayLike(py::handle value) {
  return py::isinstance<py::array>(value);
}

ComPtr<ILumImage> imageFromArray(py::handle value, std::optional<LONG> depth) {
  if (!isArrayLike(value)) throw py::type_error("an image is made from a numpy array");
  if (depth) checkDepth(*depth);
  const LONG depthCode = depth.value_or(lumPixelDepth16Bits);
  py::array array = py::reinterpret_borrow<py::array>(value);
  const bool isMasked = py::isinstance(value, numpy().attr("ma").attr("MaskedArray"));
  // Native byte order only: a byte-swapped array is not pixels as the kernels read them.
  const bool eightBit = py::isinstance<py::array_t<uint8_t>>(array);
  const bool sixteenBit = py::isinstance<py::array_t<uint16_t>>(array);
  if (isMasked) {
    if (array.ndim() != 2 || !sixteenBit)
      throw py::type_error("a range image is made from a masked uint16 array of 2 dimensions");
    return rangeImage(value, depthCode);
  }
  if (array.ndim() == 2 && eightBit) {
    auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
    check(image->put_PixelMemory(planeOf<uint8_t>(wrappableGrey<uint8_t>(array), 0).get()),
          L"giving the image its pixels");
    return image.as<ILumImage>();
  }
  if (array.ndim() == 2 && sixteenBit) {
    auto image = create<ILumImage16Grey>(CLSID_LumImage16Grey);
    check(image->put_PixelMemory(planeOf<uint16_t>(wrappableGrey<uint16_t>(array), 0).get()),
          L"giving the image its pixels");
    check(image->put_PixelDepth(depthCode), L"setting the pixel depth");
    return image.as<ILumImage>();
  }
  if (array.ndim() == 3 && array.shape(2) == 3 && eightBit) {
    py::array colour = wrappableColour(array);
    const py::ssize_t planeStep = colour.strides(2);
    auto image = create<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
    check(image->SetPlanePixelMemories(
              planeOf<uint8_t>(colour, 0).get(), planeOf<uint8_t>(colour, planeStep).get(),
              planeOf<uint8_t>(colour, 2 * planeStep).get(), lumColorSpaceRGB),
          L"giving the image its pixels");
    return image.as<ILumImage>();
  }
  throw py::type_error(
      "an image is made from uint8 H×W, uint16 H×W, uint8 H×W×3 or a masked uint16 H×W array");
}

void Image::keep(ComPtr<IUnknown> memory) {
  for (const auto& held : handedOut_)
    if (held.get() == memory.get()) return;
  handedOut_.push_back(std::move(memory));
}

namespace {

struct Plane {
  const void* address = nullptr;
  LONG width = 0, height = 0, stride = 0;
};

template <class Memory, class Pel>
Plane planeOf(Memory* memory) {
  Plane plane;
  Pel* address = nullptr;
  if (memory == nullptr || FAILED(memory->get_Width(&plane.width)) ||
      FAILED(memory->get_Height(&plane.height)) || FAILED(memory->get_Stride(&plane.stride)) ||
      FAILED(memory->get_Address(&address)))
    raiseFailure(Failure{E_FAIL, L"the image gave no pixel memory", L""});
  plane.address = address;
  if (plane.width <= 0 || plane.height <= 0 || address == nullptr) plane = Plane{};
  return plane;
}

// A valid address for an empty buffer.
const uint8_t kNoPixels = 0;

template <class Pel>
py::buffer_info greyBuffer(const Plane& plane) {
  const auto size = static_cast<py::ssize_t>(sizeof(Pel));
  return py::buffer_info(const_cast<void*>(plane.address ? plane.address : &kNoPixels), size,
                         py::format_descriptor<Pel>::format(), 2,
                         std::vector<py::ssize_t>{plane.height, plane.width},
                         std::vector<py::ssize_t>{plane.stride * size, size}, true);
}

}  // namespace

py::buffer_info Image::pixels() {
  constexpr LONG mode = lumPixelAccessRead;
  if (auto access = ComPtr<IDispatch>(dispatch()).as<ILumImage8PixelAccess>()) {
    ComPtr<ILumImage8PixelMemory> memory;
    check(access->GetPixelMemory(mode, 0, 0, 0, 0, memory.put()), L"reading the pixels");
    keep(memory.as<IUnknown>());
    return greyBuffer<uint8_t>(planeOf<ILumImage8PixelMemory, BYTE>(memory.get()));
  }
  if (auto range = ComPtr<IDispatch>(dispatch()).as<ILumImage16RangePixelAccess>()) {
    ComPtr<ILumImage16PixelMemory> values;
    ComPtr<ILumImage8PixelMemory> mask;
    check(range->GetPixelMemory(mode, 0, 0, 0, 0, values.put(), mask.put()), L"reading the pixels");
    keep(values.as<IUnknown>());
    return greyBuffer<uint16_t>(planeOf<ILumImage16PixelMemory, USHORT>(values.get()));
  }
  if (auto access = ComPtr<IDispatch>(dispatch()).as<ILumImage16PixelAccess>()) {
    ComPtr<ILumImage16PixelMemory> memory;
    check(access->GetPixelMemory(mode, 0, 0, 0, 0, memory.put()), L"reading the pixels");
    keep(memory.as<IUnknown>());
    return greyBuffer<uint16_t>(planeOf<ILumImage16PixelMemory, USHORT>(memory.get()));
  }
  auto planar = ComPtr<IDispatch>(dispatch()).as<ILumImage24PlanarPixelAccess>();
  if (!planar) raiseFailure(Failure{E_NOINTERFACE, L"the image has no known pixel format", L""});
  std::array<ComPtr<ILumImage8PixelMemory>, 3> memories;
  check(planar->GetPlanePixelMemories(mode, 0, 0, 0, 0, memories[0].put(), memories[1].put(),
                                      memories[2].put()),
        L"reading the pixels");
  std::array<Plane, 3> planes;
  for (int c = 0; c < 3; ++c) {
    planes[c] = planeOf<ILumImage8PixelMemory, BYTE>(memories[c].get());
    keep(memories[c].as<IUnknown>());
  }
  const auto* p0 = static_cast<const uint8_t*>(planes[0].address);
  const auto* p1 = static_cast<const uint8_t*>(planes[1].address);
  const auto* p2 = static_cast<const uint8_t*>(planes[2].address);
  const LONG h = planes[0].height, w = planes[0].width, stride = planes[0].stride;
  for (const auto& plane : planes)
    if (plane.width != w || plane.height != h)
      raiseFailure(Failure{E_FAIL, L"the image's planes differ in size", L""});
  if (p0 == nullptr)
    return py::buffer_info(const_cast<uint8_t*>(&kNoPixels), 1, "B", 3,
                           std::vector<py::ssize_t>{0, 0, 3}, std::vector<py::ssize_t>{0, 0, 0},
                           true);
  const bool sameStride = planes[1].stride == stride && planes[2].stride == stride;
  if (sameStride && p1 - p0 == p2 - p1 && p1 != p0)
    return py::buffer_info(const_cast<uint8_t*>(p0), 1, "B", 3, std::vector<py::ssize_t>{h, w, 3},
                           std::vector<py::ssize_t>{stride, 1, p1 - p0}, true);
  // Planes anywhere in memory: one packed H×W×3 copy.
  auto packed = lum::makeComObject<PackedPixels>();
  packed->bytes.resize(std::size_t(h) * std::size_t(w) * 3);
  for (LONG y = 0; y < h; ++y)
    for (int c = 0; c < 3; ++c) {
      const auto* row =
          static_cast<const uint8_t*>(planes[c].address) + std::ptrdiff_t(y) * planes[c].stride;
      uint8_t* out = packed->bytes.data() + std::size_t(y) * std::size_t(w) * 3 + std::size_t(c);
      for (LONG x = 0; x < w; ++x)
        out[std::size_t(x) * 3] = row[x];
    }
  uint8_t* data = packed->bytes.data();
  keep(ComPtr<IUnknown>(static_cast<IUnknown*>(packed.get())));
  return py::buffer_info(data, 1, "B", 3, std::vector<py::ssize_t>{h, w, 3},
                         std::vector<py::ssize_t>{py::ssize_t(w) * 3, 3, 1}, true);
}

py::object Image::mask() {
  auto range = ComPtr<IDispatch>(dispatch()).as<ILumImage16RangePixelAccess>();
  if (!range) return py::none();
  ComPtr<ILumImage16PixelMemory> values;
  ComPtr<ILumImage8PixelMemory> mask;
  check(range->GetPixelMemory(lumPixelAccessRead, 0, 0, 0, 0, values.put(), mask.put()),
        L"reading the mask");
  const Plane plane = planeOf<ILumImage8PixelMemory, BYTE>(mask.get());
  py::array copy = py::array_t<uint8_t>({py::ssize_t(plane.height), py::ssize_t(plane.width)});
  auto* out = static_cast<uint8_t*>(copy.mutable_data());
  for (LONG y = 0; y < plane.height; ++y)
    std::memcpy(out + std::size_t(y) * std::size_t(plane.width),
                static_cast<const uint8_t*>(plane.address) + std::ptrdiff_t(y) * plane.stride,
                std::size_t(plane.width));
  return copy;
}

void bindImages(py::module_& module) {
  py::class_<Image, Object>(module, "Image", py::buffer_protocol())
      .def_buffer(&Image::pixels)
      .def("_mask", &Image::mask);
  module.def(
      "image",
      [](py::handle array, std::optional<LONG> depth) {
        return wrapObject(imageFromArray(array, depth).get());
      },
      py::arg("array"), py::arg("depth") = py::none(),
      "An image over a numpy array: uint8 H×W (8-bit grey), uint16 H×W (16-bit grey with the "
      "pixel depth code `depth`, 4 = 16 bits by default), uint8 H×W×3 (planar RGB colour) or a "
      "masked uint16 H×W array (a range image, missing where masked). Rows of contiguous "
      "pixels are used in place; the image keeps the array alive.");
}

}  // namespace lumxip::python
