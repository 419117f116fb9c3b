#pragma once
// Planar colour: three 8-bit roots of one size (planes 0, 1 and 2) viewed through one
// window, with a colour space that travels to the output image. Kernels work plane by
// plane on the 8-bit buffers that plane() reads out, then join the results.

#include <array>
#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

class LC_VISIBLE lc3PlanePelRoot final : public lcPelRootBase {
 public:
  using PlaneHandle = lcPelRootHandle<uint8_t>;

  // Three new planes of width x height pixels.
  lc3PlanePelRoot(int32_t width, int32_t height,
                  int32_t alignment = lcPelRoot<uint8_t>::kDefaultAlignment);
  // Three existing roots; lcBadPointer for an empty handle, lcPel::BadWindow when their
  // sizes differ.
  lc3PlanePelRoot(PlaneHandle plane0, PlaneHandle plane1, PlaneHandle plane2);

  // lcPelFunc::BadParams for a plane number outside 0..2.
  const PlaneHandle& plane(int number) const;
  lcPelMemoryPlanes memory() const override;

 private:
  std::array<PlaneHandle, 3> planes_;
};

class LC_VISIBLE lc3PlanePelBuffer : public lcPelFrame {
 public:
  using RootHandle = lcPtrHandle<lc3PlanePelRoot>;

  // Unbound, colour space 1.
  lc3PlanePelBuffer() = default;
  // Views all of `root` (unbound for an empty handle).
  explicit lc3PlanePelBuffer(RootHandle root) { bind(std::move(root)); }

  // Joins three bound 8-bit buffers with equal windows, offsets and transforms (the same
  // object or equal linear values) over roots of one size (lcPel::UnboundWindow,
  // lcPel::BadWindow otherwise). Its colour space is 1.
  static lc3PlanePelBuffer join(const lcPelBuffer<uint8_t>& plane0,
                                const lcPelBuffer<uint8_t>& plane1,
                                const lcPelBuffer<uint8_t>& plane2);

  // lcPel::UnboundWindow when unbound.
  lc3PlanePelRoot& root() const;
  void bind(RootHandle root) { bindRoot(std::move(root)); }
  // As lcPelBuffer::allocate, for three planes.
  void allocate(int32_t width, int32_t height, int32_t offsetX = 0, int32_t offsetY = 0,
                int32_t alignment = lcPelRoot<uint8_t>::kDefaultAlignment);

  // Plane `number` as an 8-bit buffer with this buffer's window, offset and transform.
  lcPelBuffer<uint8_t> plane(int number) const;

  // 1 or 2 for the images this library makes; checked where an image is made.
  int32_t colorSpace() const { return colorSpace_; }
  void setColorSpace(int32_t colorSpace) { colorSpace_ = colorSpace; }

 private:
  int32_t colorSpace_ = 1;
};
