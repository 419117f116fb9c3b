#pragma once
// Adding a signed constant to every pixel of an 8- or 16-bit buffer. A result outside
// the pixel range is clamped to it (bounded) or keeps its low 8 or 16 bits (wrap):
//
//   bounded: min(max(p + c, 0), max)      wrap: (p + c) modulo (max + 1)
//
// with p widened to 32 bits first, so any 32-bit constant works (1000 saturates an 8-bit
// image, -1 wraps 0 to 255).

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

struct lcAddConstantParams {
  int32_t constant = 0;
  bool wrap = false;  // keep the low bits instead of clamping
};

// The rule for one pixel, as the fast rows apply it to whole vectors.
template <class T>
constexpr T lcAddPel(T pel, int32_t constant, bool wrap) {
  constexpr int64_t kMax = T(~T{0});
  const int64_t sum = int64_t{pel} + constant;
  if (wrap) return static_cast<T>(sum & kMax);
  return static_cast<T>(sum < 0 ? 0 : sum > kMax ? kMax : sum);
}

// Row functors of the unary drivers: a constant and a wrap flag, applied to one row
// through the fast row code. `in` may be `out` (the drivers allow working in place).
template <class T>
class lcAddPelRow {
 public:
  explicit lcAddPelRow(const lcAddConstantParams& params) : params_(params) {}
  void operator()(const T* in, T* out, int32_t width) const;

 private:
  lcAddConstantParams params_;
};

using lcAddPel8 = lcAddPelRow<uint8_t>;
using lcAddPel16 = lcAddPelRow<uint16_t>;

// dst = src + constant over src's window, as lcForEachRow places it (an unbound dst is
// allocated like src; a bound one must cover src's window). Large images run in bands
// on the worker pool. Kernels "cip_addConstant_8" and "cip_addConstant_16".
void lcAddConstant(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcAddConstantParams& params);
void lcAddConstant(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                   const lcAddConstantParams& params);
