#pragma once
// Mapping every pixel through a lookup table: dst(x, y) = table[src(x, y)]. A table
// shorter than the pixel range reads as padded with zeros; entries beyond it are not
// used. The destination is placed as lcForEachRow places it (an unbound dst is
// allocated like src; a bound one must cover src's window). Large images run in bands
// on the worker pool. Kernels "cip_tableMap_8" and "cip_tableMap_16".

#include <cstdint>
#include <span>

#include "std/pelbuf/pel_buffer.h"

template <class T>
struct lcTableMapParams {
  std::span<const T> table;
};

void lcTableMap(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                const lcTableMapParams<uint8_t>& params);
void lcTableMap(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                const lcTableMapParams<uint16_t>& params);
