#pragma once
// Real kernel weights made 16-bit integers, shared by the 3 x 3 and N x M preparations.

#include <cmath>
#include <cstdint>

#include "ip/conv/conv_errors.h"

// value rounded half away from zero (add or subtract 0.5, then truncate), kept as
// signed 16 bits: its low 16 bits when it does not fit. `value` must be finite.
inline int16_t lcRoundedWeight(double value) {
  const double rounded = std::trunc(value >= 0 ? value + 0.5 : value - 0.5);
  return static_cast<int16_t>(static_cast<int64_t>(std::fmod(rounded, 65536.0)));
}

// lcConvolveParams::BadArgument unless `value` is a finite number.
inline void lcRequireFiniteWeight(double value) {
  if (!std::isfinite(value))
    throw lcConvolveParams::BadArgument(L"kernel weights must be finite numbers");
}
