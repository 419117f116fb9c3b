#include "components/sampling/sampling.h"

#include <cmath>

#include "ip/sampling/expand.h"
#include "ip/sampling/gauss_sample.h"
#include "ip/sampling/subsample.h"

// ---- LumIPOneImageSubSampler ----

void CLumIPOneImageSubSampler::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                   const Parameters& p, int) {
  lcSubSample(source, result, {p.SampleX, p.SampleY, p.SpatialAverage.value});
}

void CLumIPOneImageSubSampler::run(const lcPelBuffer<uint16_t>& source,
                                   lcPelBuffer<uint16_t>& result, const Parameters& p) {
  lcSubSample(source, result, {p.SampleX, p.SampleY, p.SpatialAverage.value});
}

// ---- LumIPOneImageExpand ----

void CLumIPOneImageExpand::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                               const Parameters& p, int) {
  lcExpand(source, result, {p.ExpansionX, p.ExpansionY});
}

void CLumIPOneImageExpand::run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                               const Parameters& p) {
  lcExpand(source, result, {p.ExpansionX, p.ExpansionY});
}

// ---- LumIPOneImageGaussSampler ----

HRESULT CLumIPOneImageGaussSampler::get_SigmaX(double* sigma) {
  if (sigma == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *sigma = lcGaussSigma(SmoothnessX);
  return S_OK;
}

HRESULT CLumIPOneImageGaussSampler::get_SigmaY(double* sigma) {
  if (sigma == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *sigma = lcGaussSigma(SmoothnessY);
  return S_OK;
}

HRESULT CLumIPOneImageGaussSampler::get_MagnitudeShift(LONG* shift) {
  if (shift == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  int exponent = 0;
  std::frexp(ScaleFactor, &exponent);
  *shift = exponent - 1;
  return S_OK;
}

HRESULT CLumIPOneImageGaussSampler::put_MagnitudeShift(LONG shift) {
  return callBoundary(context(L"put_MagnitudeShift"), [&] {
    if (shift < -7 || shift > 7)
      throwInvalidArgument(kMessageIndexOutside, lcMessageArgs(L"MagnitudeShift"));
    const double factor = std::ldexp(1.0, shift);
    {
      lcLockGuard guard(core().lock());
      if (ScaleFactor == factor) return;
      ScaleFactor = factor;
    }
    core().fireChange(lumIPOneImageGaussSampler_MagnitudeShift, *lum::Variant(shift).ptr(),
                      lumChangeSetByClient);
  });
}

void CLumIPOneImageGaussSampler::run(const lcPelBuffer<uint8_t>& source,
                                     lcPelBuffer<uint8_t>& result, const Parameters& p, int) {
  lcGaussSample(
      source, result,
      lcGaussSampleParams(p.SampleX, p.SampleY, p.SmoothnessX, p.SmoothnessY, p.ScaleFactor, true));
}
