#include "components/histo/histogram.h"

#include <algorithm>

#include "components/bridge/image_bridge.h"
#include "components/bridge/region_mask.h"
#include "components/histo/histogram_graphics.h"
#include "ip/histo/histo_count.h"
#include "ip/histo/histo_stats.h"

namespace {

constexpr uint32_t kMessageTooLarge = 0x80048107;
constexpr VARTYPE kBinArray = VT_ARRAY | VT_I4;

// The number of values a 16-bit image's pixel-depth code allows; 0x8004E105 for a code
// outside 1..5.
size_t pixelRange16(ILumImage* image) {
  ComPtr<ILumImage16Grey> grey;
  image->QueryInterface(iid_of<ILumImage16Grey>, grey.putVoid());
  LONG depth = 0;
  if (grey) throwIfFailed(grey->get_PixelDepth(&depth));
  switch (depth) {
    case lumPixelDepth10Bits:
      return 1024;
    case lumPixelDepth12Bits:
      return 4096;
    case lumPixelDepth14Bits:
      return 16384;
    case lumPixelDepth16Bits:
      return 65536;
    case lumPixelDepth8Bits:
      return 256;
    default:
      throw lcCOMError(kUnsupportedPixelFormat, 0);
  }
}

// How many bins are counted and how many the result has.
struct BinPlan {
  size_t counting = 0;
  size_t result = 0;
};

BinPlan planBins(const lcHistogramFields& settings, size_t pixelRange) {
  switch (settings.BinMode) {
    case lumHistogramBinModeCompatibility:
      if (settings.NumBins < 1)
        throwInvalidArgument(kMessageLessThan, lcMessageArgs(L"NumBins", settings.NumBins));
      return {size_t(settings.NumBins), size_t(settings.NumBins)};
    case lumHistogramBinModeUniform:
      if (settings.NumBins < 1)
        throwInvalidArgument(kMessageLessThan, lcMessageArgs(L"NumBins", settings.NumBins));
      if (size_t(settings.NumBins) > pixelRange)
        throwInvalidArgument(kMessageTooLarge, lcMessageArgs(L"NumBins", settings.NumBins));
      return {pixelRange, size_t(settings.NumBins)};
    case lumHistogramBinModeAuto:
      return {pixelRange, pixelRange};
    default:
      throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(L"BinMode"));
  }
}

// The care mask cut to `window` (input image pixels): its first pixel lies on
// (offsetX, offsetY). A mask that does not cover the whole window fails with E_INVALIDARG.
lcPelBuffer<uint8_t> careMaskOver(ILumImage* mask, const lcPelRect& window,
                                  const lcHistogramFields& settings) {
  if (lcChooseImageFormat(mask, lcImageFormatGrey8) != lcImageFormatGrey8)
    throw lcCOMError::withDescription(E_INVALIDARG, L"The input image mask must be 8-bit grey.");
  lcPelBuffer<uint8_t> buffer =
      lcInputBuffer8({mask, lumRegionModePixelAlignedBoundingBox, nullptr});
  const int64_t left = int64_t{window.x0} - settings.InputImageMaskOffsetX;
  const int64_t top = int64_t{window.y0} - settings.InputImageMaskOffsetY;
  if (left < 0 || top < 0 || left + window.width() > buffer.width() ||
      top + window.height() > buffer.height())
    throw lcCOMError::withDescription(
        E_INVALIDARG, L"The input image mask, at its offsets, does not cover the pixels counted.");
  buffer.setWindow(static_cast<int32_t>(left), static_cast<int32_t>(top), window.width(),
                   window.height());
  return buffer;
}

template <class T>
void countInto(const lcPelBuffer<T>& source, ILumImage* input, ILumRegion* region,
               const lcHistogramFields& settings, std::vector<uint64_t>& bins) {
  lcHistoCare care;
  lcRegionMask regionMask;
  if (region != nullptr && settings.RegionMode == lumRegionModePixelAlignedBoundingBoxAdjustMask) {
    lcRegionToMask(input, source.bufferRect(), region, settings.RegionMode, &regionMask);
    if (regionMask.needsMask) care.runs = &regionMask.encoding;
  }
  lcPelBuffer<uint8_t> mask;
  if (settings.InputImageMask) {
    mask = careMaskOver(settings.InputImageMask.get(), source.bufferRect(), settings);
    care.mask = &mask;
  }
  lcCountHistogram(source, care, bins);
}

// The stored bins as counts; none for anything but a one-dimensional array of integers
// (a loaded result may hold anything).
std::vector<uint32_t> countsOf(const lum::Variant& histogram) {
  if (histogram.type() != kBinArray) return {};
  SAFEARRAY* array = histogram.get().parray;
  LONG low = 0, high = -1;
  if (array == nullptr || SafeArrayGetDim(array) != 1 ||
      FAILED(SafeArrayGetLBound(array, 1, &low)) || FAILED(SafeArrayGetUBound(array, 1, &high)) ||
      high < low)
    return {};
  void* data = nullptr;
  throwIfFailed(SafeArrayAccessData(array, &data));
  const auto* values = static_cast<const LONG*>(data);
  std::vector<uint32_t> counts(values, values + (int64_t{high} - low + 1));
  SafeArrayUnaccessData(array);
  return counts;
}

}  // namespace

ComPtr<ILumHistogramResult> CLumHistogramResult::make(const std::vector<uint64_t>& bins) {
  lcHistoStats stats{std::span<const uint64_t>(bins)};
  lum::Variant histogram;
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(bins.size()));
  if (array == nullptr) throw lcCOMError(E_OUTOFMEMORY, 0);
  histogram.ptr()->vt = kBinArray;
  histogram.ptr()->parray = array;
  auto* values = static_cast<LONG*>(array->pvData);
  for (size_t i = 0; i < bins.size(); ++i)
    values[i] = static_cast<LONG>(stats.bins()[i]);

  ComPtr<CLumHistogramResult> result = lum::makeComObject<CLumHistogramResult>();
  throwIfFailed(result->FinalConstruct());
  lcLockGuard guard(result->core().lock());
  result->Histogram = std::move(histogram);
  result->NumSamples = static_cast<LONG>(stats.total());
  result->Mean = stats.mean();
  result->Mode = stats.mode();
  result->Median = stats.median();
  result->Minimum = stats.minimum();
  result->Maximum = stats.maximum();
  result->StandardDeviation = stats.standardDeviation();
  result->Variance = stats.variance();
  return ComPtr<ILumHistogramResult>(result.get());
}

HRESULT CLumHistogramResult::GetInverseCumulativeGreyLevel(LONG percent, LONG* bin) {
  if (HRESULT hr = lcClearOutPointers(bin); FAILED(hr)) return hr;
  return callBoundary(context(L"GetInverseCumulativeGreyLevel"), [&] {
    if (static_cast<ULONG>(percent) > 100)
      throwInvalidArgument(kMessageOutOfRange, lcMessageArgs(L"Percent", 0, 100));
    lum::Variant histogram;
    {
      lcLockGuard guard(core().lock());
      histogram = Histogram;
    }
    lcHistoStats stats(countsOf(histogram));
    *bin = stats.percentile(percent);
  });
}

HRESULT CLumHistogramResult::CreateResultGraphics(LONG options, IDispatch** graphics) {
  if (HRESULT hr = lcClearOutPointers(graphics); FAILED(hr)) return hr;
  return callBoundary(context(L"CreateResultGraphics"), [&] {
    lum::Variant histogram;
    LONG median = 0;
    double mean = 0;
    {
      lcLockGuard guard(core().lock());
      histogram = Histogram;
      median = Median;
      mean = Mean;
    }
    *graphics = lcDrawHistogram(countsOf(histogram), median, mean, options).detach();
  });
}

std::vector<uint64_t> CLumHistogram::count(ILumImage* input, ILumRegion* region,
                                           const lcHistogramFields& settings) {
  if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
  // A loaded file may hold any mode; only the two the property accepts count.
  if (settings.RegionMode != lumRegionModePixelAlignedBoundingBoxAdjustMask &&
      settings.RegionMode != lumRegionModePixelAlignedBoundingBox)
    throwInvalidArgument(
        kMessageNotOneOf,
        lcMessageArgs::texts({L"RegionMode", L"lumRegionModePixelAlignedBoundingBoxAdjustMask",
                              L"lumRegionModePixelAlignedBoundingBox"}));
  const lcImageFormat format = lcChooseImageFormat(input, lcImageFormatGrey8 | lcImageFormatGrey16);
  if (format == lcImageFormatNone) throw lcCOMError(kUnsupportedPixelFormat, 0);
  const BinPlan plan = planBins(settings, format == lcImageFormatGrey8 ? 256 : pixelRange16(input));
  std::vector<uint64_t> bins(plan.counting, 0);
  const lcImageRequest request{input, lumRegionModePixelAlignedBoundingBox, region};
  if (format == lcImageFormatGrey8)
    countInto(lcInputBuffer8(request), input, region, settings, bins);
  else
    countInto(lcInputBuffer16(request), input, region, settings, bins);
  if (plan.result < plan.counting) return lcRebinHistogram(bins, plan.result);
  return bins;
}

HRESULT CLumHistogram::Execute(ILumImage* input, ILumRegion* region, ILumHistogramResult** result) {
  if (HRESULT hr = lcClearOutPointers(result); FAILED(hr)) return hr;
  return callBoundary(context(L"Execute"), [&] {
    lcHistogramFields settings;
    {
      lcLockGuard guard(core().lock());
      settings = static_cast<const lcHistogramFields&>(*this);
    }
    *result = CLumHistogramResult::make(count(input, region, settings)).detach();
  });
}
