#pragma once
// The rows of the arithmetic kernels, compiled for every SIMD target Highway knows
// (arith_rows_fast.cpp); each call runs the best target of this processor. `in` may
// be `out`. `stream` stores past the caches, for outputs larger than they are.

#include <cstdint>

#include "ip/arith/add_constant.h"
#include "std/pelbuf/pel_buffer.h"

namespace lcArithRows {

// Each maps the rows of `in` into those of `out` (same width and height).
void addFast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
             const lcAddConstantParams& params, bool stream);
void addFast(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out,
             const lcAddConstantParams& params, bool stream);

// out = table[in]; the table holds 256 (65536) entries.
void tableMapFast(const lcPelRows<const uint8_t>& in, const lcPelRows<uint8_t>& out,
                  const uint8_t* table, bool stream);
void tableMapFast(const lcPelRows<const uint16_t>& in, const lcPelRows<uint16_t>& out,
                  const uint16_t* table);

}  // namespace lcArithRows
