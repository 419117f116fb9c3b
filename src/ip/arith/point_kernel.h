#pragma once
// How the point kernels of this family run: the fast or the portable rows, as the
// kernel-selection hook says, over the source's rows in bands on the worker pool.

#include <cstdint>

#include "std/pelbuf/pel_bands.h"
#include "std/util/kernel_selection.h"

// A point kernel does 20 to 40 pixels a nanosecond; waking a worker costs some
// microseconds, so a band must hold about 50 microseconds of work (the bench's band
// sweep shows no gain below a million pixels).
inline constexpr lcBandRule lcPointKernelBands{1 << 20, 0};

// An output of this many bytes or more is streamed past the caches: it could not stay in
// them, and streaming spares the memory reading every line before it is written.
inline constexpr int64_t lcStreamingBytes = int64_t{8} << 20;

template <class D, class S>
bool lcStreamsOutput(const lcPelBuffer<S>& src) {
  return int64_t{src.width()} * src.height() * int64_t{sizeof(D)} >= lcStreamingBytes;
}

// fastRows(in, out) gets a band's rows at once (lcForEachRowBand), portableRow(in, out,
// width) one row at a time.
template <class S, class D, class FastRows, class PortableRow>
void lcRunPointKernel(const char* name, const lcPelBuffer<S>& src, lcPelBuffer<D>& dst,
                      const FastRows& fastRows, const PortableRow& portableRow) {
  lcRunKernel(
      name,
      [&] {
        lcForEachRowBand(src, dst, lcPointKernelBands, fastRows);
        return int32_t{0};
      },
      [&] {
        lcForEachRowInBands(src, dst, lcPointKernelBands, portableRow);
        return int32_t{0};
      });
}
