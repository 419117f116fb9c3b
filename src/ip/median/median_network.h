#pragma once
// The median of nine values by a network of 19 compare-exchange steps. The same network
// serves single pixels and vectors of pixels: `sort(a, b)` leaves the smaller in a and
// the larger in b.

namespace lcMedianNetwork {

template <class V, class Sort>
inline V medianOf9(V p[9], const Sort& sort) {
  sort(p[1], p[2]);
  sort(p[4], p[5]);
  sort(p[7], p[8]);
  sort(p[0], p[1]);
  sort(p[3], p[4]);
  sort(p[6], p[7]);
  sort(p[1], p[2]);
  sort(p[4], p[5]);
  sort(p[7], p[8]);
  sort(p[0], p[3]);
  sort(p[5], p[8]);
  sort(p[4], p[7]);
  sort(p[3], p[6]);
  sort(p[1], p[4]);
  sort(p[2], p[5]);
  sort(p[4], p[7]);
  sort(p[4], p[2]);
  sort(p[6], p[4]);
  sort(p[4], p[2]);
  return p[4];
}

}  // namespace lcMedianNetwork
