#pragma once
// Unwrapping an elliptical annulus section (in a source buffer's coordinates) into an
// upright buffer: output pixel (i, j) samples the section's point at u = (i + 0.5) / nx,
// v = (j + 0.5) / ny (pointAt), so that a continuous output point (x, y) stands for
// u = x / nx, v = y / ny. Modes: 1 nearest pixel, 2 bilinear (16-bit weights in both axes,
// the affine sampler's accurate kernel on 16.16 positions).
//
// The sample positions are kept as one direction per column and one radial scale per row,
// worked out once per parameter object and source placement and reused.

#include <memory>
#include <mutex>
#include <vector>

#include "std/pelbuf/pel_buffer.h"
#include "std/shapes/ellipse_annulus_section.h"

namespace lcPolarTransDefs {
LC_ERROR_GROUP();
LC_ERROR(lcPolarTransDefs, BadParams, 0x10002080);
LC_ERROR(lcPolarTransDefs, Clipped, 0x10002083);
}  // namespace lcPolarTransDefs

namespace lcPolarErrors {
LC_ERROR_GROUP();
LC_ERROR(lcPolarErrors, InsufficientResolution, 0x10002000);
LC_ERROR(lcPolarErrors, ExcessiveScaling, 0x10002001);
LC_ERROR(lcPolarErrors, Overflow, 0x10002002);
}  // namespace lcPolarErrors

// Where the samples lie, relative to the source window's first pixel: the point of
// sample (i, j) is centre + scale[j] * direction[i].
struct lcPolarPositions {
  lc2Vector centre;
  std::vector<lc2Vector> direction;
  std::vector<double> scale;
  // The pixels the samples touch, first and last each way, and whether a sample lies
  // beyond any window's reach: a window's clip test needs no pass over the samples.
  bool beyondReach = false;
  int64_t firstX = 0, firstY = 0, lastX = 0, lastY = 0;
};

class lcPolarSamplingParams {
 public:
  enum Mode : int32_t { kNearest = 1, kBilinear = 2 };

  // Radii 1 and 2 over a full turn, one sample each way, bilinear.
  lcPolarSamplingParams() = default;
  // Counts from 1 to 32767 (BadParams, "xNumSamples < 1" or "yNumSamples < 1"; a count
  // that no 16-bit value holds is Overflow).
  lcPolarSamplingParams(const lcEllipseAnnulusSection& section, int32_t numSamplesX,
                        int32_t numSamplesY, int32_t mode = kBilinear);

  const lcEllipseAnnulusSection& section() const { return section_; }
  int16_t numSamplesX() const { return numSamplesX_; }
  int16_t numSamplesY() const { return numSamplesY_; }
  int32_t mode() const { return mode_; }

  // The positions on a source whose window starts at `windowOrigin` (buffer
  // coordinates); kept until asked for another origin.
  std::shared_ptr<const lcPolarPositions> positions(const lc2Vector& windowOrigin) const;

 private:
  struct Cache {
    std::mutex lock;
    lc2Vector origin;
    std::shared_ptr<const lcPolarPositions> positions;
  };
  lcEllipseAnnulusSection section_;
  int16_t numSamplesX_ = 1;
  int16_t numSamplesY_ = 1;
  int32_t mode_ = kBilinear;
  std::shared_ptr<Cache> cache_ = std::make_shared<Cache>();
};

// Whether any sample of `params` needs a pixel outside the source window.
bool lcPolarIsClipped(const lcPolarSamplingParams& params, const lcPelFrame& source);

// dst (unbound: allocated numSamplesX x numSamplesY at offset (0, 0), with the source's
// transform) receives the samples; lcPolarTransDefs::Clipped when a sample needs a pixel
// outside the source window. Kernels "cip_polarUnwrap_8" and "cip_polarUnwrap_16".
void lcPolarUnwrap(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                   const lcPolarSamplingParams& params);
void lcPolarUnwrap(const lcPelBuffer<uint16_t>& src, lcPelBuffer<uint16_t>& dst,
                   const lcPolarSamplingParams& params);
