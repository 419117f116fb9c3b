#include "components/average/image_average_tool.h"

#include "components/bridge/region_pixels.h"

namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

}  // namespace

void CLumImageAverageTool::constructTool() {
  runParams_ = create<ILumImageAverage>(CLSID_LumImageAverage);
}

void CLumImageAverageTool::publish(ComPtr<ILumImage> CLumImageAverageTool::*field, DISPID id,
                                   ComPtr<ILumImage> image) {
  {
    lcLockGuard guard(core().lock());
    this->*field = image;
  }
  core().fireChange(id, *lum::Variant(static_cast<IDispatch*>(image.get())).ptr(),
                    lumChangeProducedByRun);
}

void CLumImageAverageTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  ComPtr<ILumImageAverage> params;
  bool hadImages = false;
  {
    lcLockGuard guard(core().lock());
    input = input_, region = region_, params = runParams_;
    hadImages = average_ || deviation_;
    average_ = nullptr, deviation_ = nullptr;
    lastInput_ = nullptr, lastRegion_ = nullptr, lastRegionPixels_ = nullptr;
  }
  if (hadImages) core().fireChange(lumStateSeveralChanged, lumChangeProducedByRun);
  if (!params) throw lcCOMError(kNoRunParams, 0);
  LumRegionModeConstants mode = lumRegionModePixelAlignedBoundingBox;
  throwIfFailed(params->get_RegionMode(&mode));
  keepLastRunCopies(input.get(), region.get(), mode, diag);

  throwIfFailed(params->Add(input.get(), region.get()));
  VARIANT_BOOL deviationEnabled = VARIANT_FALSE;
  throwIfFailed(params->get_StandardDeviationEnabled(&deviationEnabled));
  if (deviationEnabled != VARIANT_FALSE) {
    ComPtr<ILumImage> deviation;
    throwIfFailed(params->ExecuteStandardDeviation(deviation.put()));
    publish(&CLumImageAverageTool::deviation_, lumImageAverageTool_StandardDeviationImage,
            deviation);
  }
  ComPtr<ILumImage> average;
  throwIfFailed(params->ExecuteAverage(average.put()));
  publish(&CLumImageAverageTool::average_, lumImageAverageTool_AverageImage, average);
}

void CLumImageAverageTool::keepLastRunCopies(ILumImage* input, ILumRegion* region, LONG mode,
                                             LONG diag) {
  ComPtr<ILumImage> lastInput, pixels;
  ComPtr<ILumRegion> lastRegion;
  if (input && hasAny(diag, lumImageAverageLastRunRecordDiagInputImageDeepCopy))
    lastInput = deepCopy(input);
  else if (input && hasAny(diag, lumImageAverageLastRunRecordDiagInputImageByReference))
    lastInput = input;
  if (region && hasAny(diag, lumImageAverageLastRunRecordDiagRegion)) lastRegion = deepCopy(region);
  if (input && region && mode != lumRegionModeAffineTransform &&
      hasAny(diag, lumImageAverageLastRunRecordDiagTransformedRegionPixels))
    pixels = lcCopyPixelsWithin(input, region);
  lcLockGuard guard(core().lock());
  lastInput_ = lastInput, lastRegion_ = lastRegion, lastRegionPixels_ = pixels;
}

void CLumImageAverageTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    input = input_, region = region_;
  }
  if (!hasAny(mask, lumImageAverageCurrentRecordInputImage) || !input) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageCurrentInputImage, 0, input.get());
  if (region && hasAny(mask, lumImageAverageCurrentRecordRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, region.get());
}

void CLumImageAverageTool::addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
  ComPtr<ILumImage> average, deviation, input, pixels;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    average = average_, deviation = deviation_;
    input = lastInput_, pixels = lastRegionPixels_, region = lastRegion_;
  }
  if (average && hasAny(mask, lumImageAverageLastRunRecordAverageImage))
    lcTool::addSubRecord(record, L"AverageImage", lumRecordContentImage, lumRecordUsageLastRun, 0,
                         average.get());
  if (deviation && hasAny(mask, lumImageAverageLastRunRecordStandardDeviationImage))
    lcTool::addSubRecord(record, L"StandardDeviationImage", lumRecordContentImage,
                         lumRecordUsageLastRun, 0, deviation.get());
  if (input && hasAny(diag, lumImageAverageLastRunRecordDiagInputImageByReference |
                                lumImageAverageLastRunRecordDiagInputImageDeepCopy))
    lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage, lumRecordUsageLastRun, 0,
                         input.get());
  if (region && hasAny(diag, lumImageAverageLastRunRecordDiagRegion))
    lcTool::addSubRecord(record, L"Region", lumRecordContentRegion, lumRecordUsageLastRun, 0,
                         region.get());
  if (pixels && hasAny(diag, lumImageAverageLastRunRecordDiagTransformedRegionPixels))
    lcTool::addSubRecord(record, L"TransformedRegionPixels", lumRecordContentImage,
                         lumRecordUsageDerivedDiagnosticImage, 0, pixels.get());
}
