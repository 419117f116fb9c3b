#include "components/histo/histogram_tool.h"

#include <utility>

namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

// The result graphics that draw the parts a last-run record mask selects; none selected
// draws nothing. The axes come with any part.
LONG graphicOptionsOf(LONG recordMask) {
  static constexpr std::pair<LONG, LONG> kParts[] = {
      {lumHistogramLastRunRecordHistogram, lumHistogramResultGraphicHistogram},
      {lumHistogramLastRunRecordCumulativeHistogram, lumHistogramResultGraphicCumulativeHistogram},
      {lumHistogramLastRunRecordMean, lumHistogramResultGraphicMean},
      {lumHistogramLastRunRecordMedian, lumHistogramResultGraphicMedian}};
  LONG options = lumHistogramResultGraphicNone;
  for (const auto& [record, graphic] : kParts)
    if (hasAny(recordMask, record)) options |= graphic;
  return options == lumHistogramResultGraphicNone
             ? options
             : options | lumHistogramResultGraphicAxes | lumHistogramResultGraphicTipText;
}

}  // namespace

void CLumHistogramTool::constructTool() {
  runParams_ = create<ILumHistogramParams>(CLSID_LumHistogram);
}

void CLumHistogramTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  ComPtr<ILumHistogramParams> params;
  ComPtr<ILumHistogramResult> previous;
  {
    lcLockGuard guard(core().lock());
    input = input_, region = region_, params = runParams_;
    previous = std::move(result_);
    lastInput_ = nullptr, lastRegion_ = nullptr, lastMask_ = nullptr, lastGraphics_ = nullptr;
  }
  if (previous) core().fireChange(lumHistogramTool_Result, lumChangeProducedByRun);
  if (!params) throw lcCOMError(kNoRunParams, 0);
  const ComPtr<ILumHistogram> histogram = params.as<ILumHistogram>();
  if (!histogram) throw lcCOMError(E_NOINTERFACE, 0);

  ComPtr<ILumImage> mask, lastInput;
  ComPtr<ILumRegion> lastRegion;
  throwIfFailed(params->get_InputImageMask(mask.put()));
  if (input && hasAny(diag, lumHistogramLastRunRecordDiagInputImageDeepCopy))
    lastInput = deepCopy<ILumImage>(input.get());
  else if (input && hasAny(diag, lumHistogramLastRunRecordDiagInputImageByReference))
    lastInput = input;
  if (region && hasAny(diag, lumHistogramLastRunRecordDiagRegion))
    lastRegion = deepCopy<ILumRegion>(region.get());
  {
    lcLockGuard guard(core().lock());
    lastInput_ = lastInput, lastRegion_ = lastRegion, lastMask_ = mask;
  }

  ComPtr<ILumHistogramResult> result;
  throwIfFailed(histogram->Execute(input.get(), region.get(), result.put()));
  ComPtr<IDispatch> graphics;
  if (const LONG options = graphicOptionsOf(lastRunRecordMask());
      options != lumHistogramResultGraphicNone)
    throwIfFailed(result->CreateResultGraphics(options, graphics.put()));
  {
    lcLockGuard guard(core().lock());
    result_ = result;
    lastGraphics_ = graphics;
  }
  core().fireChange(lumHistogramTool_Result,
                    *lum::Variant(static_cast<IDispatch*>(result.get())).ptr(),
                    lumChangeProducedByRun);
}

void CLumHistogramTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  ComPtr<ILumImage> input, careMask;
  ComPtr<ILumRegion> region;
  ComPtr<ILumHistogramParams> params;
  {
    lcLockGuard guard(core().lock());
    input = input_, region = region_, params = runParams_;
  }
  if (!hasAny(mask, lumHistogramCurrentRecordInputImage) || !input) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageCurrentInputImage, 0, input.get());
  if (region && hasAny(mask, lumHistogramCurrentRecordRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, region.get());
  if (params && hasAny(mask, lumHistogramCurrentRecordInputImageMask) &&
      SUCCEEDED(params->get_InputImageMask(careMask.put())) && careMask)
    lcTool::addSubRecord(*inputRecord, L"InputImageMask", lumRecordContentImage,
                         lumRecordUsageCurrentInputImage, 0, careMask.get());
}

void CLumHistogramTool::addLastRunSubRecords(ILumRecord& record, LONG recordMask, LONG diag) {
  ComPtr<ILumImage> input, mask;
  ComPtr<ILumRegion> region;
  ComPtr<IUnknown> graphics;
  {
    lcLockGuard guard(core().lock());
    input = lastInput_, mask = lastMask_, region = lastRegion_, graphics = lastGraphics_;
  }
  if (graphics && graphicOptionsOf(recordMask) != lumHistogramResultGraphicNone)
    lcTool::addSubRecord(record, L"Histogram", lumRecordContentGraphics, lumRecordUsageLastRun, 0,
                         graphics.get());
  if (!input || !hasAny(diag, lumHistogramLastRunRecordDiagInputImageByReference |
                                  lumHistogramLastRunRecordDiagInputImageDeepCopy))
    return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageLastRun, 0, input.get());
  if (mask)
    lcTool::addSubRecord(*inputRecord, L"InputImageMask", lumRecordContentImage,
                         lumRecordUsageLastRun, 0, mask.get());
  if (region && hasAny(diag, lumHistogramLastRunRecordDiagRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion, lumRecordUsageLastRun, 0,
                         region.get());
}
