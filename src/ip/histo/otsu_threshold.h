#pragma once
// The threshold that splits a range of histogram bins into two classes of greatest
// between-class variance (Otsu's criterion), as recursive quantizing needs it.

#include <cstdint>
#include <span>

#include "std/except/exception.h"

class lcThresholdDefs {
 public:
  LC_ERROR_GROUP();
  // A range outside the histogram or empty, or one without any count.
  LC_ERROR(lcThresholdDefs, BadParams, 0x10003310);
  // A threshold asked of a computation that did not run.
  LC_ERROR(lcThresholdDefs, NotComputed, 0x10003311);
};

class lcOtsuThreshold {
 public:
  // Over bins [left, right) of `histogram`, narrowed to its first and last non-empty
  // bins. One non-empty bin is its own threshold; otherwise the threshold is t + 1 for
  // the first non-empty bin t (before the last) with the strictly largest criterion
  // ((S - s) w - (N - w) s)^2 / ((N - w) w), with N and S the count and grey-value sum
  // of the range and w and s those of the bins up to t. A failed call leaves nothing
  // computed.
  void compute(std::span<const uint64_t> histogram, int64_t left, int64_t right);
  // The first bin of the upper class; NotComputed before a successful compute.
  int32_t threshold() const;
  // The best criterion over N * (sum of i^2 n(i)) - S^2 (0 for one bin).
  double quality() const;

 private:
  bool computed_ = false;
  int32_t threshold_ = 0;
  double quality_ = 0;
};
