#pragma once
// Lookup tables built from an image's own histogram, one entry per bin (256 for 8-bit
// images, 65536 for 16-bit), for lcTableMap to apply.

#include <cstdint>
#include <span>
#include <vector>

// Equalization: entry i = truncate(C(i) * top / C(last) + 0.5) in doubles, C being the
// cumulative histogram and top the largest pixel value (bins - 1). A histogram without
// counts gives the identity, so no table is ever formed by dividing by zero.
template <class T>
std::vector<T> lcEqualizeTable(std::span<const uint64_t> histogram);

// Quantization into 2^passes levels (passes 1..7): starting from the whole bin range,
// every pass splits each interval [lo, hi) at its Otsu threshold t into [lo, t) and
// [t, hi); an interval without counts is split at its middle instead, which changes no
// pixel of the counted image. Interval j then maps to j * (bins >> passes).
// lcPelFunc::BadParams for passes outside 1..7.
template <class T>
std::vector<T> lcQuantizeTable(std::span<const uint64_t> histogram, int passes);

extern template std::vector<uint8_t> lcEqualizeTable<uint8_t>(std::span<const uint64_t>);
extern template std::vector<uint16_t> lcEqualizeTable<uint16_t>(std::span<const uint64_t>);
extern template std::vector<uint8_t> lcQuantizeTable<uint8_t>(std::span<const uint64_t>, int);
extern template std::vector<uint16_t> lcQuantizeTable<uint16_t>(std::span<const uint64_t>, int);
