#pragma once
// The 3 x 3 median of 8-bit pixels: each result is the fifth smallest of the nine pixels
// of its block. The result holds (w - 2) x (h - 2) pixels at the input offset + (1, 1),
// so each sits on the centre of its block.

#include <cstdint>

#include "std/pelbuf/pel_buffer.h"

// An unbound dst is allocated at the result's place with src's transform (rows aligned
// to 32 bytes); a bound one must cover it (lcPel::BadWindow) and share no pixel with src
// (lcPelFunc::Overlap). lcPel::UnboundWindow for an unbound src, lcPel::BadWindow for one
// smaller than 3 x 3. Kernel "cip_pelMedian3x3_8".
void lcMedian3x3(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst);
