// The sampling parameters and where their samples lie on a source buffer.

#include <cmath>

#include "ip/affine/affine_sampling.h"
#include "ip/affine/affine_taps.h"
#include "std/pelbuf/pel_errors.h"

namespace {

// Farther than this from the window, 16.16 positions and their steps could leave the
// exact range of 64-bit sums.
constexpr double kFarthestPel = double(1 << 24);
// A translation this close to a whole pixel moves whole pixels: the 16.16 positions of
// the exact and the nearly whole translation are the same, and so are the bytes.
constexpr double kWholePelTolerance = 1e-9;
constexpr double kUnitStepTolerance = 1e-12;

int64_t toFixed(double value) {
  if (!(std::fabs(value) <= kFarthestPel)) throw lcAffineSamplingParams::NotImplemented();
  return static_cast<int64_t>(value * 65536.0 + 0.5);
}

// -1, 0 or 1 when `value` is within the tolerance of it, else 2.
int32_t unitOrZero(double value) {
  for (int32_t unit : {-1, 0, 1})
    if (std::fabs(value - unit) <= kUnitStepTolerance) return unit;
  return 2;
}

bool isWholePel(double value) {
  return std::fabs(value - std::round(value)) <= kWholePelTolerance;
}

void findWholePelMove(lcAffineGeometry& g, const lc2Vector& origin, const lc2Vector& column,
                      const lc2Vector& row) {
  const int32_t dx = unitOrZero(column.x), dy = unitOrZero(column.y);
  const int32_t ex = unitOrZero(row.x), ey = unitOrZero(row.y);
  const bool axes = std::abs(dx) + std::abs(dy) == 1 && std::abs(ex) + std::abs(ey) == 1 &&
                    dx * ex + dy * ey == 0;
  if (!axes || !isWholePel(origin.x) || !isWholePel(origin.y)) return;
  g.wholePixels = true;
  g.dx = dx, g.dy = dy, g.ex = ex, g.ey = ey;
  // The pixel holding output pixel (0, 0)'s centre: a step backwards starts one pixel
  // before the corner.
  g.pelX = static_cast<int64_t>(std::round(origin.x)) - (dx < 0) - (ex < 0);
  g.pelY = static_cast<int64_t>(std::round(origin.y)) - (dy < 0) - (ey < 0);
}

}  // namespace

lcAffineSamplingParams::lcAffineSamplingParams(const lcAffineRectangle& rectangle,
                                               int32_t numSamplesX, int32_t numSamplesY,
                                               int32_t mode)
    : rectangle_(rectangle), numSamplesX_(numSamplesX), numSamplesY_(numSamplesY), mode_(mode) {
  if (numSamplesX < 1 || numSamplesY < 1) throw BadNumSamples();
}

int16_t lcAffineSamplingParams::numSamplesX16() const {
  if (numSamplesX_ >= 32768) throw BadNumSamples();
  return static_cast<int16_t>(numSamplesX_);
}

int16_t lcAffineSamplingParams::numSamplesY16() const {
  if (numSamplesY_ >= 32768) throw BadNumSamples();
  return static_cast<int16_t>(numSamplesY_);
}

lcAffineSamplingParams::Mode lcAffineSamplingParams::kernelMode() const {
  switch (mode_) {
    case kBilinear:
    case kCubic:
    case kBilinearAccurate:
      return static_cast<Mode>(mode_);
    default:
      return kNearest;
  }
}

lcAffineGeometry lcAffineGeometryFor(const lcAffineSamplingParams& params,
                                     const lcPelFrame& source) {
  if (!source.isBound()) throw lcPel::UnboundWindow();
  const double nx = params.numSamplesX(), ny = params.numSamplesY();
  const lc2XformLinear perSample(lc2Matrix(1.0 / nx, 0, 0, 1.0 / ny), {0, 0});
  lcAffineGeometry g;
  g.sourceFromOutput = source.linearXform() * params.rectangle().unitSquare() * perSample;
  // Relative to the window's first pixel.
  const lc2Vector first{double(source.offsetX()), double(source.offsetY())};
  const auto at = [&](double u, double v) { return g.sourceFromOutput.mapPoint({u, v}) - first; };
  const lc2Vector start = at(0.5, 0.5);
  const lc2Vector column = at(1.5, 0.5) - start, row = at(0.5, 1.5) - start;
  // Every position lies within the four corner samples; each must be in reach.
  toFixed(at(nx - 0.5, ny - 0.5).x), toFixed(at(nx - 0.5, ny - 0.5).y);
  toFixed(at(nx - 0.5, 0.5).x), toFixed(at(nx - 0.5, 0.5).y);
  toFixed(at(0.5, ny - 0.5).x), toFixed(at(0.5, ny - 0.5).y);
  g.startX = toFixed(start.x), g.startY = toFixed(start.y);
  g.columnStepX = toFixed(column.x), g.columnStepY = toFixed(column.y);
  g.rowStepX = toFixed(row.x), g.rowStepY = toFixed(row.y);
  findWholePelMove(g, at(0, 0), column, row);
  return g;
}

bool lcAffineIsClipped(const lcAffineSamplingParams& params, const lcPelFrame& source) {
  const lcAffineGeometry g = lcAffineGeometryFor(params, source);
  const lcAffineTaps taps(g, params.kernelMode(), source.width(), source.height());
  const int32_t nx = params.numSamplesX(), ny = params.numSamplesY();
  if (taps.cornersInside(nx, ny)) return false;
  for (int32_t j = 0; j < ny; ++j)
    for (int32_t i = 0; i < nx; ++i)
      if (!taps.inside(i, j)) return true;
  return false;
}

int32_t lcAffineStripeRows(int32_t width, int32_t height, bool eightBit) {
  if (eightBit && (width >= 32768 || height >= 32768)) return 64;
  if (width <= 1024) return 224;
  if (width <= 2048) return 96;
  if (width <= 3072) return 64;
  return 48;
}
