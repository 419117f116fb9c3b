#pragma once
// Pixel roots over the pixel memory of core-library images, and the owner objects that
// keep a result root alive inside a new image. No pixel is copied either way.

#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"
#include "std/pelbuf/pel_3plane.h"
#include "std/pelbuf/pel_buffer.h"

namespace lum::detail {
// What a root reads off an image's pixel memory, with a holder that keeps one reference
// to the memory.
template <class Pel>
struct ImageMemoryView {
  int32_t width = 0, height = 0;
  std::ptrdiff_t stride = 0;
  Pel* base = nullptr;
  std::shared_ptr<void> holder;
};
LUM_FRAMEWORK_API ImageMemoryView<uint8_t> viewMemory(ILumImage8PixelMemory* memory);
LUM_FRAMEWORK_API ImageMemoryView<uint16_t> viewMemory(ILumImage16PixelMemory* memory);
}  // namespace lum::detail

// A root over an image's pixel memory: width, height, row stride as pitch, pixel (0, 0)
// as base, alignment 1. It holds one reference to the memory for as long as it lives;
// the memory, not the root, frees the pixels. (Roots over image memory are never archived.)
template <class Pel, class Memory>
class lcPelRootOverImage final : public lcPelRoot<Pel> {
 public:
  explicit lcPelRootOverImage(Memory* memory)
      : lcPelRootOverImage(lum::detail::viewMemory(memory)) {}

 private:
  explicit lcPelRootOverImage(const lum::detail::ImageMemoryView<Pel>& v)
      : lcPelRoot<Pel>(v.width, v.height, v.stride, v.base, 1, v.holder) {}
};
using lcPelRootLumImage8PixelMemory = lcPelRootOverImage<uint8_t, ILumImage8PixelMemory>;
using lcPelRootLumImage16PixelMemory = lcPelRootOverImage<uint16_t, ILumImage16PixelMemory>;

// The three plane roots of a planar colour image.
LUM_FRAMEWORK_API lcPtrHandle<lc3PlanePelRoot> lc3PlanePelRootLumImage24PlanarPixelMemory(
    ILumImage8PixelMemory* plane0, ILumImage8PixelMemory* plane1, ILumImage8PixelMemory* plane2);

// The owner handed to a new image with its pixel memory: it holds the result root, so
// the pixels live until the image lets go of its memory.
template <class T>
class lcDisposableRoot final : public lum::ComObject<IUnknown> {
 public:
  explicit lcDisposableRoot(lcPelRootHandle<T> root) : root_(std::move(root)) {}

 private:
  lcPelRootHandle<T> root_;
};
using lcDisposablePelRoot = lcDisposableRoot<uint8_t>;
using lcDisposablePel16Root = lcDisposableRoot<uint16_t>;
