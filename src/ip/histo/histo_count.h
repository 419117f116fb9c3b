#pragma once
// Counting grey values into histogram bins: every counted pixel of the source window adds
// one to bin min(value, bins - 1), so values at or beyond the last bin still count in it.
// The counts are added to what `bins` holds. Large windows are counted in row bands on
// the worker pool, each band into tables of its own that are summed at the end, so the
// band count never changes a count. Kernels "cip_histogram_8" and "cip_histogram_16".

#include <cstdint>
#include <span>

#include "std/pelbuf/pel_buffer.h"
#include "std/rlebuf/rle_buffer.h"

// Which pixels of the window count: all of them, or only those under inside runs
// (value != 0) of `runs` (in the source's buffer coordinates; pixels the encoding does
// not cover are not counted), and of those only the ones whose `mask` pixel is non-zero
// (`mask` has the window's width and height; its rows pair with the window's rows).
struct lcHistoCare {
  const lcRLEBuffer* runs = nullptr;
  const lcPelBuffer<uint8_t>* mask = nullptr;
};

// lcPelFunc::BadParams for no bins or a mask of another size than the window;
// lcPel::UnboundWindow for an unbound source.
void lcCountHistogram(const lcPelBuffer<uint8_t>& src, const lcHistoCare& care,
                      std::span<uint64_t> bins);
void lcCountHistogram(const lcPelBuffer<uint16_t>& src, const lcHistoCare& care,
                      std::span<uint64_t> bins);
