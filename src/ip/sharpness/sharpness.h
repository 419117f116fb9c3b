#pragma once
// Sharpness scores of 8-bit grey windows, for focusing: a larger score means a sharper
// image. One parameter object names the measure and its parameters; one function scores.

#include <cstdint>

#include "std/except/exception.h"
#include "std/pelbuf/pel_buffer.h"

namespace lcImageSharpnessDefs {
LC_ERROR_GROUP();
LC_ERROR(lcImageSharpnessDefs, BadParams, 0x10002380);
LC_ERROR(lcImageSharpnessDefs, UnboundWindow, 0x10002381);
LC_ERROR(lcImageSharpnessDefs, InternalError, 0x10002382);
LC_ERROR(lcImageSharpnessDefs, NotImplemented, 0x10002383);
LC_ERROR(lcImageSharpnessDefs, BadMask, 0x10002384);
LC_ERROR(lcImageSharpnessDefs, ImageTooSmall, 0x10002385);

enum Algorithm : int32_t {
  autoCorrelation = 1,  // 1000 less the strongest diagonal neighbour correlation
  absDiff = 2,          // mean absolute difference to the image shifted by (dx, dy)
  sobelMagnitude = 3,   // named for completeness; not offered
  bandPass = 4,         // spectral energy within a frequency band
  gradientEnergy = 5,   // mean squared gradient over the squared mean grey level
};

struct Params {
  int32_t algorithm = bandPass;
  double noiseLevel = 0.0;       // autoCorrelation: grey levels of noise to discount
  int32_t distanceX = 1;         // absDiff
  int32_t distanceY = 1;         // absDiff
  double lowFrequency = 0.25;    // bandPass, cycles per pixel
  double highFrequency = 0.45;   // bandPass, cycles per pixel
  int32_t lowPassSmoothing = 0;  // gradientEnergy: 0 none, else the smoothing's sigma
};
}  // namespace lcImageSharpnessDefs

// The score of `src` under `params`; `mask` (optional, 0 = ignore) is only taken by the
// gradient energy. Throws the lcImageSharpnessDefs errors with their texts, and
// lcPel::BadWindow for an autocorrelation window smaller than 3 x 3.
double lcImageSharpnessScore(const lcPelBuffer<uint8_t>& src,
                             const lcImageSharpnessDefs::Params& params,
                             const lcPelBuffer<uint8_t>* mask = nullptr);
