#pragma once
// The median of nine values by a network of 19 compare-exchange steps, as a list of the
// pairs: LC_MEDIAN_OF_9_NETWORK(SORT) expands to SORT(a, b) for each step, where SORT
// leaves the smaller of p[a] and p[b] in p[a] and the larger in p[b]; the median ends in
// p[4]. A list rather than a function, so that a SIMD target's code expands it inline
// with that target's instructions.

// clang-format off
#define LC_MEDIAN_OF_9_NETWORK(SORT)                                        \
  SORT(1, 2) SORT(4, 5) SORT(7, 8) SORT(0, 1) SORT(3, 4) SORT(6, 7)       \
  SORT(1, 2) SORT(4, 5) SORT(7, 8) SORT(0, 3) SORT(5, 8) SORT(4, 7)       \
  SORT(3, 6) SORT(1, 4) SORT(2, 5) SORT(4, 7) SORT(4, 2) SORT(6, 4)       \
  SORT(4, 2)
// clang-format on
