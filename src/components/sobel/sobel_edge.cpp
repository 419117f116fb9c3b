#include "components/sobel/sobel_edge.h"

#include <algorithm>

#include "components/bridge/one_image_frame.h"
#include "ip/sobel95/hysteresis.h"
#include "ip/sobel95/peak_detect.h"

namespace {

inline constexpr HRESULT kValueNotValidHere = hresultFrom(0x8004C004);
inline constexpr uint32_t kMessageTooLarge = 0x80048107;
inline constexpr LONG kThresholdChange =
    lumChangeSetByClient | lumFA_SobelEdge_HysteresisThresholds;

// A stored pixel value or threshold, compared unsigned: anything outside 0..255 is 255.
uint8_t pelValue(LONG value) {
  return static_cast<uint8_t>(std::min<uint32_t>(static_cast<uint32_t>(value), 255));
}

}  // namespace

ComPtr<ILumSobelEdgeResult> CLumSobelEdgeResult::make(ComPtr<ILumImage> angle,
                                                      ComPtr<ILumImage> magnitude,
                                                      ComPtr<ILumImage> final) {
  ComPtr<CLumSobelEdgeResult> result = lum::makeComObject<CLumSobelEdgeResult>();
  throwIfFailed(result->FinalConstruct());
  {
    lcLockGuard guard(result->core().lock());
    result->EdgeAngleImage = std::move(angle);
    result->EdgeMagnitudeImage = std::move(magnitude);
    result->FinalMagnitudeImage = std::move(final);
  }
  return ComPtr<ILumSobelEdgeResult>(result.get());
}

void CLumSobelEdge::afterPropertyStored(DISPID id) {
  if (id == lumSobelEdge_MagnitudeScale) detector_.markStale();
  if (id == lumSobelEdge_HysteresisThresholdLow &&
      HysteresisThresholdLow > HysteresisThresholdHigh) {
    HysteresisThresholdHigh = HysteresisThresholdLow;
    takenAlong_ = lumSobelEdge_HysteresisThresholdHigh;
  }
  if (id == lumSobelEdge_HysteresisThresholdHigh &&
      HysteresisThresholdHigh < HysteresisThresholdLow) {
    HysteresisThresholdLow = HysteresisThresholdHigh;
    takenAlong_ = lumSobelEdge_HysteresisThresholdLow;
  }
}

void CLumSobelEdge::afterPropertyLoaded(DISPID id) {
  if (id == lumSobelEdge_MagnitudeScale) detector_.markStale();
}

void CLumSobelEdge::afterPropertyChanged(DISPID) {
  DISPID moved = 0;
  LONG value = 0;
  {
    lcLockGuard guard(core().lock());
    std::swap(moved, takenAlong_);
    value = moved == lumSobelEdge_HysteresisThresholdLow ? HysteresisThresholdLow
                                                         : HysteresisThresholdHigh;
  }
  if (moved != 0) fireThreshold(moved, value);
}

void CLumSobelEdge::fireThreshold(DISPID id, LONG value) {
  core().fireChange(id, *lum::Variant(int32_t{value}).ptr(), kThresholdChange);
}

HRESULT CLumSobelEdge::SetHysteresisThresholds(LONG low, LONG high) {
  return callBoundary(context(L"SetHysteresisThresholds"), [&] {
    constexpr auto check = inRange<LONG>(0, 255, L"0", L"255");
    check(L"HysteresisThresholdLow", low);
    check(L"HysteresisThresholdHigh", high);
    if (high < low)
      throwInvalidArgument(kMessageTooLarge,
                           lcMessageArgs::texts({L"HysteresisThresholdLow",
                                                 L"the HysteresisThresholdHigh argument"}));
    bool lowChanged = false, highChanged = false;
    {
      lcLockGuard guard(core().lock());
      lowChanged = std::exchange(HysteresisThresholdLow, low) != low;
      highChanged = std::exchange(HysteresisThresholdHigh, high) != high;
    }
    if (lowChanged) fireThreshold(lumSobelEdge_HysteresisThresholdLow, low);
    if (highChanged) fireThreshold(lumSobelEdge_HysteresisThresholdHigh, high);
  });
}

CLumSobelEdge::Snapshot CLumSobelEdge::snapshot() {
  Snapshot settings;
  {
    lcLockGuard guard(core().lock());
    settings.fields = static_cast<const lcSobelEdgeFields&>(*this);
  }
  settings.detector = detector_.snapshot(
      core().lock(), [&] { return lcSobelEdgeDetector({settings.fields.MagnitudeScale}); });
  return settings;
}

lcSobelEdgeBuffers CLumSobelEdge::run(const lcPelBuffer<uint8_t>& source,
                                      const Snapshot& settings) {
  const lcSobelEdgeFields& p = settings.fields;
  lcSobelEdgeBuffers images;
  settings.detector->run(source, images.magnitude, images.angle);
  switch (p.PostProcessMode) {
    case lumSobelEdgePostProcessModeNone:
      images.final = images.magnitude;
      images.finalIsMagnitude = true;
      break;
    case lumSobelEdgePostProcessModePeakDetect:
      lcPeakDetect(images.magnitude, images.angle, images.final, pelValue(p.PeakDetectThreshold));
      break;
    case lumSobelEdgePostProcessModeHysteresisThreshold:
      lcHysteresisThreshold(
          images.magnitude, images.final,
          {pelValue(p.HysteresisThresholdLow), pelValue(p.HysteresisThresholdHigh),
           pelValue(p.HysteresisSurvivorPelValue), pelValue(p.HysteresisNonSurvivorPelValue)});
      break;
    default:
      throw lcCOMError(kValueNotValidHere, 0);
  }
  return images;
}

HRESULT CLumSobelEdge::Execute(ILumImage* input, ILumRegion* region, ILumSobelEdgeResult** result) {
  if (HRESULT hr = lcClearOutPointers(result); FAILED(hr)) return hr;
  return callBoundary(context(L"Execute"), [&] {
    const Snapshot settings = snapshot();
    if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
    if (lcChooseImageFormat(input, lcImageFormatGrey8) != lcImageFormatGrey8)
      throw lcCOMError(kUnsupportedPixelFormat, 0);
    const lcImageRequest request{input, settings.fields.RegionMode, region};
    lcPelBuffer<uint8_t> source = lcInputBuffer8(request);
    lum::detail::applyRegionMask(source, request);
    const lcSobelEdgeBuffers images = run(source, settings);
    ComPtr<ILumImage> magnitude = lcOutputImage8(images.magnitude, input);
    ComPtr<ILumImage> final =
        images.finalIsMagnitude ? magnitude : lcOutputImage8(images.final, input);
    *result =
        CLumSobelEdgeResult::make(lcOutputImage8(images.angle, input), magnitude, final).detach();
  });
}
