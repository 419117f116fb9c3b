#include "ip/sharpness/sharpness.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "ip/sharpness/band_pass.h"
#include "ip/sharpness/gradient_energy.h"

namespace {

using namespace lcImageSharpnessDefs;

// The width x height part of `src` that starts (x, y) into its window, at offset (0, 0),
// so that parts of one size line up pixel for pixel.
lcPelBuffer<uint8_t> part(const lcPelBuffer<uint8_t>& src, int32_t x, int32_t y, int32_t width,
                          int32_t height) {
  lcPelBuffer<uint8_t> view = src;
  view.setWindow(x, y, width, height);
  view.setOffset(0, 0);
  return view;
}

// ---- autocorrelation ----

struct PairSums {
  uint64_t a = 0, aa = 0, b = 0, bb = 0, ab = 0;
};

PairSums pairSums(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b) {
  const lcPelRows<const uint8_t> ra = a.rows(), rb = b.rows();
  PairSums s;
  for (int32_t y = 0; y < ra.height; ++y)
    for (int32_t x = 0; x < ra.width; ++x) {
      const uint64_t p = ra[y][x], q = rb[y][x];
      s.a += p, s.aa += p * p, s.b += q, s.bb += q * q, s.ab += p * q;
    }
  return s;
}

// The correlation of the centre window with one diagonal neighbour on 0..1000, the
// noise variance taken out of both variances (noise decorrelates neighbours).
int32_t correlationScore(const PairSums& s, double count, double noiseVariance) {
  const double meanA = s.a / count, meanB = s.b / count;
  const double varA = s.aa / count - meanA * meanA - noiseVariance;
  const double varB = s.bb / count - meanB * meanB - noiseVariance;
  if (varA <= 0 || varB <= 0) return 1000;  // nothing above the noise: no sharp detail
  const double r = (s.ab / count - meanA * meanB) / std::sqrt(varA * varB);
  return static_cast<int32_t>(std::floor(1000.0 * std::clamp(r, 0.0, 1.0) + 0.5));
}

double autoCorrelationScore(const lcPelBuffer<uint8_t>& src, double noiseLevel) {
  if (!(noiseLevel >= 0.0)) throw BadParams(L"noiseLevel must be  >= 0.0.");
  if (src.width() < 3 || src.height() < 3) throw lcPel::BadWindow();
  const int32_t w = src.width() - 2, h = src.height() - 2;
  const lcPelBuffer<uint8_t> centre = part(src, 1, 1, w, h);
  const double count = double(w) * h;
  const PairSums own = pairSums(centre, centre);
  if (own.aa * count - double(own.a) * double(own.a) <= 0) return 0.0;  // flat
  int32_t strongest = 1000;
  constexpr std::array<std::array<int32_t, 2>, 4> kOffsets{{{0, 0}, {2, 0}, {0, 2}, {2, 2}}};
  for (const auto& [x, y] : kOffsets)
    strongest = std::min(strongest, correlationScore(pairSums(centre, part(src, x, y, w, h)), count,
                                                     noiseLevel * noiseLevel));
  return 1000.0 - strongest;
}

// ---- absolute difference ----

// The mean of |a - b| over two windows of one size (exact: an integer sum).
double meanAbsoluteDifference(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b) {
  const lcPelRows<const uint8_t> ra = a.rows(), rb = b.rows();
  uint64_t sum = 0;
  for (int32_t y = 0; y < ra.height; ++y)
    for (int32_t x = 0; x < ra.width; ++x)
      sum += static_cast<uint64_t>(std::abs(ra[y][x] - rb[y][x]));
  return double(sum) / (double(ra.width) * ra.height);
}

double absDiffScore(const lcPelBuffer<uint8_t>& src, int32_t dx, int32_t dy) {
  if (dx < 0 || dy < 0 || dx >= src.width() || dy >= src.height())
    throw BadParams(L"The distances must lie within the window.");
  const int32_t w = src.width() - dx, h = src.height() - dy;
  const lcPelBuffer<uint8_t> origin = part(src, 0, 0, w, h);
  const double meanX = dx == 0 ? 0.0 : meanAbsoluteDifference(origin, part(src, dx, 0, w, h));
  const double meanY = dy == 0 ? 0.0 : meanAbsoluteDifference(origin, part(src, 0, dy, w, h));
  return std::trunc((meanX + meanY) * 0.5);
}

// ---- gradient energy ----

// Pixels as doubles, row after row, with a care flag per pixel (all care without one).
struct Plane {
  int32_t width = 0, height = 0;
  std::vector<double> values;
  std::vector<uint8_t> care;
};

Plane planeOf(const lcPelBuffer<uint8_t>& src, const lcPelBuffer<uint8_t>* mask) {
  Plane plane{src.width(), src.height(), {}, {}};
  const lcPelRows<const uint8_t> rows = src.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    plane.values.insert(plane.values.end(), rows[y], rows[y] + rows.width);
  plane.care.assign(plane.values.size(), 1);
  if (mask != nullptr) {
    const lcPelRows<const uint8_t> m = mask->rows();
    for (int32_t y = 0; y < m.height; ++y)
      for (int32_t x = 0; x < m.width; ++x)
        plane.care[size_t(y) * size_t(m.width) + size_t(x)] = m[y][x] != 0;
  }
  return plane;
}

// A 3 x 3 Gaussian of standard deviation `sigma`, which drops the outermost ring; a
// result pixel cares when all nine it is made of do.
Plane smoothed(const Plane& in, double sigma) {
  const double side = std::exp(-0.5 / (sigma * sigma)), norm = 1.0 + 2.0 * side;
  const double weights[3] = {side / norm, 1.0 / norm, side / norm};
  Plane out{in.width - 2, in.height - 2, {}, {}};
  out.values.resize(size_t(out.width) * size_t(out.height));
  out.care.resize(out.values.size());
  for (int32_t y = 0; y < out.height; ++y)
    for (int32_t x = 0; x < out.width; ++x) {
      double value = 0.0;
      bool care = true;
      for (int32_t j = 0; j < 3; ++j)
        for (int32_t i = 0; i < 3; ++i) {
          const size_t at = size_t(y + j) * size_t(in.width) + size_t(x + i);
          value += weights[j] * weights[i] * in.values[at];
          care = care && in.care[at];
        }
      const size_t at = size_t(y) * size_t(out.width) + size_t(x);
      out.values[at] = value, out.care[at] = care;
    }
  return out;
}

// N x E / S^2 over the caring pixels; a pixel's two differences count when it and both
// its neighbours care.
double planeScore(const Plane& p) {
  double energy = 0.0, sum = 0.0, count = 0.0;
  const auto at = [&](int32_t x, int32_t y) { return size_t(y) * size_t(p.width) + size_t(x); };
  for (int32_t y = 0; y < p.height; ++y)
    for (int32_t x = 0; x < p.width; ++x) {
      if (!p.care[at(x, y)]) continue;
      const double here = p.values[at(x, y)];
      sum += here, count += 1;
      if (x + 1 >= p.width || y + 1 >= p.height) continue;
      if (!p.care[at(x + 1, y)] || !p.care[at(x, y + 1)]) continue;
      const double dx = p.values[at(x + 1, y)] - here, dy = p.values[at(x, y + 1)] - here;
      energy += dx * dx + dy * dy;
    }
  return sum == 0.0 ? 0.0 : count * energy / (sum * sum);
}

double gradientEnergyScore(const lcPelBuffer<uint8_t>& src, int32_t smoothing,
                           const lcPelBuffer<uint8_t>* mask) {
  if (smoothing < 0) throw BadParams(L"lowPassSmoothing < 0.");
  if (mask != nullptr && !mask->isBound()) throw UnboundWindow(L"Image or mask is unbound.");
  if (mask != nullptr && (mask->width() != src.width() || mask->height() != src.height()))
    throw BadMask(L"Mask has different dimensions than those of src image.");
  const int32_t w = src.width(), h = src.height();
  if (w < 2 || h < 2) throw ImageTooSmall(L"Image dimension too small to compute gradient energy.");
  const bool smooth = smoothing > 0 && smoothing < w && smoothing < h && w > 2 && h > 2;
  if (!smooth && mask == nullptr) {
    const lcGradientSums sums = lcGradientEnergySums(src);
    if (sums.sum == 0) return 0.0;
    const double s = double(sums.sum);
    return double(w) * double(h) * double(sums.energy) / (s * s);
  }
  const Plane plane = planeOf(src, mask);
  return planeScore(smooth ? smoothed(plane, smoothing) : plane);
}

// ---- band pass ----

double bandPassScore(const lcPelBuffer<uint8_t>& src, double low, double high) {
  if (!(low <= high)) throw BadParams(L"loFreq must be <= hiFreq.");
  if (!(low >= 0.0)) throw BadParams(L"loFreq must be >= 0.0.");
  if (!(high <= 0.5)) throw BadParams(L"hiFreq must be <= 0.5.");
  if (src.width() > 2048 || src.height() > 2048)
    throw BadParams(L"width and height of src must be <= 2048");
  try {
    return lcBandPassEnergy(src, low, high);
  } catch (const std::bad_alloc&) {
    throw InternalError(L"Internal error while computing sharpness score");
  }
}

}  // namespace

double lcImageSharpnessScore(const lcPelBuffer<uint8_t>& src, const Params& params,
                             const lcPelBuffer<uint8_t>* mask) {
  if (!src.isBound() || src.isEmpty()) throw UnboundWindow(L"Image is unbound.");
  if (params.algorithm < autoCorrelation || params.algorithm > gradientEnergy)
    throw InternalError(L"Unknown error.");
  if (mask != nullptr && params.algorithm != gradientEnergy)
    throw NotImplemented(L"Algorithm not implemented.");
  switch (params.algorithm) {
    case autoCorrelation:
      return autoCorrelationScore(src, params.noiseLevel);
    case absDiff:
      return absDiffScore(src, params.distanceX, params.distanceY);
    case bandPass:
      return bandPassScore(src, params.lowFrequency, params.highFrequency);
    case gradientEnergy:
      return gradientEnergyScore(src, params.lowPassSmoothing, mask);
    default:
      throw NotImplemented(L"Algorithm not implemented.");
  }
}
