#pragma once
// The built-in sample: a synthetic 8-bit part, the same on every run, so that the demo
// and the examples need no file to start from.

#include "host.h"

namespace lumxip {

inline constexpr LONG kSampleWidth = 400;
inline constexpr LONG kSampleHeight = 300;

// A bright plate with a round hole and a slot on a background lit by a gradient, two
// scratches across it, and a little sensor noise.
ComPtr<ILumImage> makeSampleImage();

}  // namespace lumxip
