#pragma once
// Pixel buffers: a window on a pixel root of pixels of type T, with buffer coordinates
// and a transform (pel_frame.h). Copying a buffer shares its root and never copies
// pixels. Kernels walk the rows of rows(); the checked accessors serve single pixels.
// Access is const-correct: a const buffer gives const pixels, so a kernel cannot write
// the source it was handed.

#include <cstddef>
#include <cstdint>

#include "std/pelbuf/pel_errors.h"
#include "std/pelbuf/pel_frame.h"
#include "std/pelbuf/pel_root.h"

// The rows of a window: what kernels walk. T is const for a view of a const buffer.
template <class T>
struct lcPelRows {
  T* first = nullptr;        // the window's first pixel
  std::ptrdiff_t pitch = 0;  // pixels from one row to the next
  int32_t width = 0;
  int32_t height = 0;

  // Row `y` of the window (0 is the first), unchecked.
  T* operator[](std::ptrdiff_t y) const { return first + y * pitch; }
};

template <class T>
class LC_VISIBLE lcPelBuffer : public lcPelFrame {
 public:
  using Pel = T;
  using Root = lcPelRoot<T>;
  using RootHandle = lcPelRootHandle<T>;

  // Unbound: window (0, 0, 0, 0), offset (0, 0), identity transform.
  lcPelBuffer() = default;
  // Views all of `root` (unbound for an empty handle).
  explicit lcPelBuffer(RootHandle root) { bind(std::move(root)); }

  // lcPel::UnboundWindow when unbound.
  const Root& root() const { return boundRoot(); }
  Root& root() { return boundRoot(); }
  RootHandle rootHandle() const { return RootHandle(static_cast<Root*>(rootBase().get())); }

  // Views all of `root`; the offset moves with the window's first corner, so buffer
  // coordinates stay where they were. An empty handle unbinds.
  void bind(RootHandle root) { bindRoot(std::move(root)); }
  // Views a new root of width x height pixels at the given offset, keeping the
  // transform. An empty size unbinds the buffer instead (no root is empty in one
  // direction only); the offset is still set.
  void allocate(int32_t width, int32_t height, int32_t offsetX = 0, int32_t offsetY = 0,
                int32_t alignment = Root::kDefaultAlignment) {
    allocateWith(width, height, offsetX, offsetY,
                 [&] { return lcMakeHandle<Root>(width, height, alignment); });
  }

  // Distance between rows in pixels; lcPel::UnboundWindow when unbound.
  std::ptrdiff_t pitch() const { return boundRoot().pitch(); }
  // The window's rows; lcPel::UnboundWindow when unbound.
  lcPelRows<const T> rows() const { return {firstPel(), pitch(), width(), height()}; }
  lcPelRows<T> rows() { return {firstPel(), pitch(), width(), height()}; }
  // The first pixel of row y (buffer coordinates); lcPel::BadCoord outside the window.
  const T* rowAddress(int32_t y) const { return firstPel() + windowRow(y) * pitch(); }
  T* rowAddress(int32_t y) { return firstPel() + windowRow(y) * pitch(); }
  // Pixel (x, y) in buffer coordinates; lcPel::BadCoord outside the window.
  const T* pelAddress(int32_t x, int32_t y) const { return rowAddress(y) + windowColumn(x, y); }
  T* pelAddress(int32_t x, int32_t y) { return rowAddress(y) + windowColumn(x, y); }
  // The window's first pixel, writable, for code that owns the pixels and hands them on
  // (an output image made over a result); lcPel::UnboundWindow when unbound. Kernels
  // use rows().
  T* firstPelAddress() const { return firstPel(); }

  // Version, the frame (window, offset, transform), then the root through its handle (so
  // buffers that share a root in one archive share it again when loaded). A failed load
  // leaves the buffer as it was.
  void archive(lcArchive& archive);

 private:
  Root& boundRoot() const {
    if (!isBound()) throw lcPel::UnboundWindow();
    return static_cast<Root&>(*rootBase());
  }
  T* firstPel() const { return boundRoot().base() + window().y0 * pitch() + window().x0; }
};

#define LC_DECLARE_PEL_BUFFER(T) extern template class lcPelBuffer<T>;
LC_FOR_EACH_PEL_TYPE(LC_DECLARE_PEL_BUFFER)
#undef LC_DECLARE_PEL_BUFFER
