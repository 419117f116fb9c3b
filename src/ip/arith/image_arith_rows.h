#pragma once
// The rows of the two-image kernels, compiled for every SIMD target Highway knows
// (image_arith_rows_fast.cpp); each call runs the best target of this processor.
// `stream` stores past the caches, for outputs larger than they are.

#include <cstdint>

#include "ip/arith/image_arith.h"
#include "std/pelbuf/pel_buffer.h"

namespace lcImageArithRows {

// out = a (op) b, row by row (all three of one width and height).
void combineFast(const lcPelRows<const uint8_t>& a, const lcPelRows<const uint8_t>& b,
                 const lcPelRows<uint8_t>& out, lcImagePelOp op, bool stream);
void combineFast(const lcPelRows<const uint16_t>& a, const lcPelRows<const uint16_t>& b,
                 const lcPelRows<uint16_t>& out, lcImagePelOp op, bool stream);

}  // namespace lcImageArithRows
