#include "components/sharpness/image_sharpness.h"

#include <string>
#include <utility>

#include "components/bridge/image_bridge.h"

namespace {

inline constexpr uint32_t kMessageWindowTooSmall = 0x80048120;
inline constexpr uint32_t kMessageWindowTooLarge = 0x80048121;

}  // namespace

void CLumImageSharpness::afterPropertyStored(DISPID id) {
  if (id == lumImageSharpness_BandPassMaxFrequency && BandPassMaxFrequency < BandPassMinFrequency) {
    BandPassMinFrequency = BandPassMaxFrequency;
    tookAlong_ = true;
  }
  if (id == lumImageSharpness_BandPassMinFrequency && BandPassMinFrequency > BandPassMaxFrequency) {
    BandPassMaxFrequency = BandPassMinFrequency;
    tookAlong_ = true;
  }
}

void CLumImageSharpness::afterPropertyChanged(DISPID) {
  bool both = false;
  {
    lcLockGuard guard(core().lock());
    std::swap(both, tookAlong_);
  }
  if (both)
    core().fireChange(lumStateSeveralChanged,
                      lumChangeSetByClient | lumFA_ImageSharpness_BandPassFrequencies);
}

lcImageSharpnessDefs::Params CLumImageSharpness::coreParams(const lcImageSharpnessFields& f,
                                                            int32_t width, int32_t height) {
  using namespace lcImageSharpnessDefs;
  Params params;
  const auto tooClose = [](const wchar_t* name, int32_t size) {
    const std::wstring text = std::to_wstring(size);
    throwInvalidArgument(kMessageNotGreaterThan, lcMessageArgs::texts({name, text.c_str()}));
  };
  switch (f.Mode) {
    case lumImageSharpnessModeAutoCorrelation:
      if (width < 3 || height < 3)
        throwInvalidArgument(kMessageWindowTooSmall, lcMessageArgs::texts({L"3"}));
      params.algorithm = autoCorrelation;
      params.noiseLevel = f.AutoCorrelationNoiseLevel;
      break;
    case lumImageSharpnessModeAbsDiff:
      if (f.AbsDiffDistanceX >= width) tooClose(L"AbsDiffDistanceX", width);
      if (f.AbsDiffDistanceY >= height) tooClose(L"AbsDiffDistanceY", height);
      params.algorithm = absDiff;
      params.distanceX = f.AbsDiffDistanceX;
      params.distanceY = f.AbsDiffDistanceY;
      break;
    case lumImageSharpnessModeBandPass:
      if (width > 2048 || height > 2048)
        throwInvalidArgument(kMessageWindowTooLarge, lcMessageArgs::texts({L"2048"}));
      params.algorithm = bandPass;
      params.lowFrequency = f.BandPassMinFrequency;
      params.highFrequency = f.BandPassMaxFrequency;
      break;
    case lumImageSharpnessModeGradientEnergy:
      params.algorithm = gradientEnergy;
      params.lowPassSmoothing = f.GradientEnergyLowPassSmoothing;
      break;
    default:  // a loaded file may hold anything
      throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(L"Mode"));
  }
  return params;
}

HRESULT CLumImageSharpness::Execute(ILumImage* input, ILumRegion* region, double* score) {
  if (score == nullptr) return E_POINTER;
  *score = 0.0;
  return callBoundary(context(L"Execute"), [&] {
    lcImageSharpnessFields fields;
    {
      lcLockGuard guard(core().lock());
      fields = static_cast<const lcImageSharpnessFields&>(*this);
    }
    if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
    if (lcChooseImageFormat(input, lcImageFormatGrey8) != lcImageFormatGrey8)
      throw lcCOMError(kUnsupportedPixelFormat, 0);
    const lcPelBuffer<uint8_t> source =
        lcInputBuffer8({input, lumRegionModePixelAlignedBoundingBox, region});
    *score = lcImageSharpnessScore(source, coreParams(fields, source.width(), source.height()));
  });
}
