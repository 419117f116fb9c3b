#pragma once
// Row bands: how a kernel cuts its output rows into pieces for worker threads
// (worker_pool.h runs them). Two cuts serve every kernel: a number of bands of nearly
// equal height, and stripes of a fixed height.

#include <cstdint>
#include <vector>

#include "std/export.h"

// Rows begin to end of an image, end exclusive.
struct lcRowBand {
  int32_t begin = 0;
  int32_t end = 0;

  int32_t rows() const { return end - begin; }
  friend bool operator==(const lcRowBand&, const lcRowBand&) = default;
};

// `count` bands over `rows` rows: band i (counted from 1) ends at row
// floor(i * rows / count). The count is kept within 1..rows so that no band is empty;
// no rows give no band.
LC_CORE_API std::vector<lcRowBand> lcEvenBands(int32_t rows, int32_t count);

// Stripes of `stripeRows` rows from the top (at least 1); the last takes what remains.
LC_CORE_API std::vector<lcRowBand> lcStripeBands(int32_t rows, int32_t stripeRows);

// When a kernel's output is worth cutting into bands. Below `minPels` output pixels a
// band costs more to hand to a worker than it saves. A band also reads (or recomputes)
// `haloRows` rows beyond its own, so it is kept at least 8 halos tall (and 16 rows).
struct lcBandRule {
  int64_t minPels = 1 << 16;
  int32_t haloRows = 0;
};

// The bands of `rows` output rows of `width` pixels for `workers` workers: one band for
// one worker, else lcEvenBands with the smallest of 4 bands per worker (so that a worker
// that was held up leaves its share to the others), rows * width / minPels and
// rows / max(16, 8 * haloRows). Never fewer than one band when there are rows.
LC_CORE_API std::vector<lcRowBand> lcKernelBands(int32_t rows, int32_t width,
                                                 const lcBandRule& rule, int workers);
