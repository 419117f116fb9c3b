#include "imagefile/image_objects.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Keeps decoded pixels alive for as long as the pixel memory over them is held.
template <class Pel>
class PixelOwner final : public lum::ComObject<IUnknown> {
 public:
  explicit PixelOwner(std::vector<Pel> pixels) : pixels_(std::move(pixels)) {}
  Pel* data() { return pixels_.data(); }

 private:
  std::vector<Pel> pixels_;
};

void check(HRESULT hr, const char* what) {
  if (FAILED(hr)) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    throw lcImageFileError(hr, std::string(what) + " failed (" + code + ")");
  }
}

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  check(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<I>, object.putVoid()),
        "creating an image object");
  return object;
}

template <class Pel, class Init, class Memory>
ComPtr<Memory> memoryOver(std::vector<Pel>&& pixels, int32_t width, int32_t height,
                          const CLSID& clsid) {
  auto memory = create<Init>(clsid);
  auto owner = lum::makeComObject<PixelOwner<Pel>>(std::move(pixels));
  check(
      memory->Initialize(width, height, owner->data(), width, static_cast<IUnknown*>(owner.get())),
      "initialising pixel memory");
  return memory.template as<Memory>();
}

ComPtr<ILumImage8PixelMemory> memory8(std::vector<uint8_t>&& pixels, const lcRaster& r) {
  return memoryOver<uint8_t, ILumImage8PixelMemoryInit, ILumImage8PixelMemory>(
      std::move(pixels), r.width, r.height, CLSID_LumImage8PixelMemory);
}

ComPtr<ILumImage16PixelMemory> memory16(std::vector<uint16_t>&& pixels, const lcRaster& r) {
  return memoryOver<uint16_t, ILumImage16PixelMemoryInit, ILumImage16PixelMemory>(
      std::move(pixels), r.width, r.height, CLSID_LumImage16PixelMemory);
}

// Copies pixel memory into packed rows; `width` and `height` are set by the first plane
// and must match for the others.
template <class Memory, class Pel>
std::vector<Pel> copyPixels(Memory* memory, int32_t& width, int32_t& height, bool first) {
  if (memory == nullptr) throw lcImageFileError(E_INVALIDARG, "the image gave no pixel memory");
  LONG w = 0, h = 0, stride = 0;
  Pel* base = nullptr;
  check(memory->get_Width(&w), "reading the image's width");
  check(memory->get_Height(&h), "reading the image's height");
  check(memory->get_Stride(&stride), "reading the image's row stride");
  check(memory->get_Address(&base), "reading the image's pixel address");
  if (w == 0 || h == 0) throw lcImageFileError(kImageFileNoPixels, "the image has no pixels");
  if (w < 0 || h < 0 || stride < w || base == nullptr)
    throw lcImageFileError(E_INVALIDARG, "the image's pixel memory is not valid");
  if (first) {
    width = w, height = h;
  } else if (w != width || h != height) {
    throw lcImageFileError(E_INVALIDARG, "the image's planes differ in size");
  }
  std::vector<Pel> rows(size_t(w) * size_t(h));
  for (LONG y = 0; y < h; ++y)
    std::memcpy(rows.data() + size_t(y) * size_t(w), base + ptrdiff_t(y) * stride,
                size_t(w) * sizeof(Pel));
  return rows;
}

}  // namespace

ComPtr<ILumImage> lcImageFromRaster(lcRaster&& raster) {
  switch (raster.layout) {
    case lcPixelLayout::grey8: {
      auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
      check(image->put_PixelMemory(memory8(std::move(raster.planes[0]), raster).get()),
            "giving the image its pixels");
      return image.as<ILumImage>();
    }
    case lcPixelLayout::grey16: {
      auto image = create<ILumImage16Grey>(CLSID_LumImage16Grey);
      check(image->put_PixelMemory(memory16(std::move(raster.values), raster).get()),
            "giving the image its pixels");
      check(image->put_PixelDepth(raster.depthCode), "setting the pixel depth");
      return image.as<ILumImage>();
    }
    case lcPixelLayout::rgb8: {
      auto image = create<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
      check(image->SetPlanePixelMemories(memory8(std::move(raster.planes[0]), raster).get(),
                                         memory8(std::move(raster.planes[1]), raster).get(),
                                         memory8(std::move(raster.planes[2]), raster).get(),
                                         lumColorSpaceRGB),
            "giving the image its pixels");
      return image.as<ILumImage>();
    }
    case lcPixelLayout::grey16Masked: {
      auto image = create<ILumImage16Range>(CLSID_LumImage16Range);
      check(image->SetPixelMemory(memory16(std::move(raster.values), raster).get(),
                                  memory8(std::move(raster.planes[0]), raster).get()),
            "giving the image its pixels");
      check(image->put_PixelDepth(raster.depthCode), "setting the pixel depth");
      return image.as<ILumImage>();
    }
  }
  return nullptr;
}

lcRaster lcRasterFromImage(ILumImage* image) {
  lcRaster r;
  ComPtr<ILumImage> img(image);
  constexpr LONG mode = lumPixelAccessRead;
  if (auto access = img.as<ILumImage8PixelAccess>()) {
    ComPtr<ILumImage8PixelMemory> memory;
    check(access->GetPixelMemory(mode, 0, 0, 0, 0, memory.put()), "reading the image's pixels");
    r.layout = lcPixelLayout::grey8;
    r.planes[0] = copyPixels<ILumImage8PixelMemory, uint8_t>(memory.get(), r.width, r.height, true);
  } else if (auto range = img.as<ILumImage16RangePixelAccess>()) {
    // Asked before 16-bit grey: an image answering both would lose its mask.
    ComPtr<ILumImage16PixelMemory> pixels;
    ComPtr<ILumImage8PixelMemory> mask;
    check(range->GetPixelMemory(mode, 0, 0, 0, 0, pixels.put(), mask.put()),
          "reading the image's pixels");
    r.layout = lcPixelLayout::grey16Masked;
    r.values = copyPixels<ILumImage16PixelMemory, uint16_t>(pixels.get(), r.width, r.height, true);
    r.planes[0] = copyPixels<ILumImage8PixelMemory, uint8_t>(mask.get(), r.width, r.height, false);
    if (auto rangeImage = img.as<ILumImage16Range>())
      check(rangeImage->get_PixelDepth(&r.depthCode), "reading the pixel depth");
  } else if (auto access16 = img.as<ILumImage16PixelAccess>()) {
    ComPtr<ILumImage16PixelMemory> memory;
    check(access16->GetPixelMemory(mode, 0, 0, 0, 0, memory.put()), "reading the image's pixels");
    r.layout = lcPixelLayout::grey16;
    r.values = copyPixels<ILumImage16PixelMemory, uint16_t>(memory.get(), r.width, r.height, true);
    if (auto grey = img.as<ILumImage16Grey>())
      check(grey->get_PixelDepth(&r.depthCode), "reading the pixel depth");
  } else if (auto planar = img.as<ILumImage24PlanarPixelAccess>()) {
    if (auto colour = img.as<ILumImage24PlanarColor>()) {
      LONG space = 0;
      check(colour->get_ColorSpace(&space), "reading the colour space");
      if (space != lumColorSpaceRGB)
        lcThrowUnsupported("only RGB colour images can be written, not colour space " +
                           std::to_string(space));
    }
    ComPtr<ILumImage8PixelMemory> planes[3];
    check(planar->GetPlanePixelMemories(mode, 0, 0, 0, 0, planes[0].put(), planes[1].put(),
                                        planes[2].put()),
          "reading the image's pixels");
    r.layout = lcPixelLayout::rgb8;
    for (int p = 0; p < 3; ++p)
      r.planes[p] =
          copyPixels<ILumImage8PixelMemory, uint8_t>(planes[p].get(), r.width, r.height, p == 0);
  } else {
    lcThrowUnsupported("the image is not 8-bit grey, 16-bit grey, range or planar colour");
  }
  return r;
}
