#pragma once
// The transform of a buffer made by moving pixels of another: when destination pixel p
// comes from source pixel M(p) (a mirror, a rotation, a resampling), the destination's
// transform is the source's followed by the inverse of M. Mapping a destination pixel
// back to the client plane then lands where its source pixel lies.

#include "std/export.h"
#include "std/math/xform_cache.h"
#include "std/math/xform_linear.h"

// `sourceFromDestination` maps destination buffer coordinates to source buffer
// coordinates, pixel x spanning [x, x + 1). lcMathError::Singular when it has no inverse.
LC_CORE_API lc2XformCache lcDerivedXform(const lc2XformCache& source,
                                         const lc2XformLinear& sourceFromDestination);
