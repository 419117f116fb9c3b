#pragma once
// Combining two 8- or 16-bit buffers pixel by pixel: sum, difference, minimum or maximum
// of the pixels a and b at the same buffer coordinates, over the pixels both windows
// share. N = 256 (65536), M = N - 1:
//
//   add      modulo: (a + b) mod N      clamp: min(a + b, M)      halve: (a + b) / 2, floor
//   subtract modulo: (a - b) mod N      clamp: a - b if a > b, else 0
//            absolute: |a - b|          halve: (a - b) / 2 truncated toward zero, stored
//                                              as a two's complement value mod N
//   min, max of a and b
//
// The sum and difference are formed without overflow first.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

// The core add codes: 0 modulo, 2 clamp to the maximum, 3 halve the sum.
enum lcAddImagesCode : int32_t {
  lcAddImagesModulo = 0,
  lcAddImagesClamp = 2,
  lcAddImagesHalve = 3,
};
// The core subtract codes: 0 modulo, 2 absolute difference, 3 clamp at zero, 4 halve
// the signed difference.
enum lcSubtractImagesCode : int32_t {
  lcSubtractImagesModulo = 0,
  lcSubtractImagesAbsolute = 2,
  lcSubtractImagesClamp = 3,
  lcSubtractImagesHalve = 4,
};

// Every pixel rule, as the row code applies it.
enum class lcImagePelOp : int32_t {
  addModulo,
  addClamp,
  addHalve,
  subtractModulo,
  subtractAbsolute,
  subtractClamp,
  subtractHalve,
  min,
  max,
};

template <class T>
constexpr T lcCombinePels(T a, T b, lcImagePelOp op) {
  constexpr int32_t kMax = T(~T{0});
  const int32_t sum = int32_t{a} + b, difference = int32_t{a} - b;
  switch (op) {
    case lcImagePelOp::addModulo:
      return static_cast<T>(sum & kMax);
    case lcImagePelOp::addClamp:
      return static_cast<T>(sum > kMax ? kMax : sum);
    case lcImagePelOp::addHalve:
      return static_cast<T>(sum >> 1);
    case lcImagePelOp::subtractModulo:
      return static_cast<T>(difference & kMax);
    case lcImagePelOp::subtractAbsolute:
      return static_cast<T>(difference < 0 ? -difference : difference);
    case lcImagePelOp::subtractClamp:
      return static_cast<T>(difference > 0 ? difference : 0);
    case lcImagePelOp::subtractHalve:
      return static_cast<T>((difference / 2) & kMax);  // C++ division truncates toward zero
    case lcImagePelOp::min:
      return a < b ? a : b;
    case lcImagePelOp::max:
      return a < b ? b : a;
  }
  return 0;
}

// dst = a (op) b over the pixels a and b share in buffer coordinates. An unbound dst is
// allocated at that common window with a's transform; a bound one must cover it
// (lcPel::BadWindow) and is written there. Windows that share no pixel leave an unbound
// dst unbound. Large images run in bands on the worker pool. A code outside those listed
// above is lcPelFunc::BadParams. Kernels "cip_addImages_8", "cip_addImages_16",
// "cip_subtractImages_8", "cip_subtractImages_16", "cip_minMaxImages_8",
// "cip_minMaxImages_16".
void lcAddImages(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                 lcPelBuffer<uint8_t>& dst, int32_t code);
void lcAddImages(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                 lcPelBuffer<uint16_t>& dst, int32_t code);
void lcSubtractImages(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                      lcPelBuffer<uint8_t>& dst, int32_t code);
void lcSubtractImages(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                      lcPelBuffer<uint16_t>& dst, int32_t code);
// The larger of the two pixels when `max`, else the smaller.
void lcMinMaxImages(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                    lcPelBuffer<uint8_t>& dst, bool max);
void lcMinMaxImages(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                    lcPelBuffer<uint16_t>& dst, bool max);
