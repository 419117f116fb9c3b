#pragma once
// The transform of a buffer made by moving pixels of another: when destination pixel p
// comes from source pixel M(p) (a mirror, a rotation, a resampling), the destination's
// transform is the source's followed by the inverse of M. Mapping a destination pixel
// back to the client plane then lands where its source pixel lies.

#include "std/export.h"
#include "std/math/xform_cache.h"
#include "std/math/xform_linear.h"
#include "std/pelbuf/pel_buffer.h"

// `sourceFromDestination` maps destination buffer coordinates to source buffer
// coordinates, pixel x spanning [x, x + 1). lcMathError::Singular when it has no inverse.
LC_CORE_API lc2XformCache lcDerivedXform(const lc2XformCache& source,
                                         const lc2XformLinear& sourceFromDestination);

// Allocates an unbound `dst` at `rect` (buffer coordinates) with the transform derived
// from `src`'s through `sourceFromDestination`; a bound one is left as it is (it keeps
// its own transform).
template <class S, class D>
void lcAllocateDerived(const lcPelBuffer<S>& src, lcPelBuffer<D>& dst, const lcPelRect& rect,
                       const lc2XformLinear& sourceFromDestination) {
  if (dst.isBound()) return;
  dst.allocate(rect.width(), rect.height(), rect.x0, rect.y0);
  dst.setXform(lcDerivedXform(src.xform(), sourceFromDestination));
}
