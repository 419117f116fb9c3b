#include "components/sobel/sobel_edge_tool.h"

#include "components/bridge/region_pixels.h"

namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

}  // namespace

struct CLumSobelEdgeTool::RunInputs {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  ComPtr<ILumSobelEdge> params;
};

void CLumSobelEdgeTool::constructTool() {
  runParams_ = create<ILumSobelEdge>(CLSID_LumSobelEdge);
}

void CLumSobelEdgeTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  RunInputs in;
  ComPtr<ILumSobelEdgeResult> previous;
  {
    lcLockGuard guard(core().lock());
    in = {input_, region_, runParams_};
    previous = std::move(result_);
    lastInput_ = nullptr;
    lastRegion_ = nullptr;
    lastRegionPixels_ = nullptr;
  }
  if (previous) core().fireChange(lumSobelEdgeTool_Result, lumChangeProducedByRun);
  keepLastRunCopies(in, diag);

  if (!in.params) throw lcCOMError(kNoRunParams, 0);
  ComPtr<ILumSobelEdgeResult> result;
  throwIfFailed(in.params->Execute(in.input.get(), in.region.get(), result.put()));
  {
    lcLockGuard guard(core().lock());
    result_ = result;
  }
  core().fireChange(lumSobelEdgeTool_Result,
                    *lum::Variant(static_cast<IDispatch*>(result.get())).ptr(),
                    lumChangeProducedByRun);

  LumRegionModeConstants mode = lumRegionModePixelAlignedBoundingBox;
  throwIfFailed(in.params->get_RegionMode(&mode));
  if (in.region && mode != lumRegionModeAffineTransform &&
      hasAny(diag, lumSobelEdgeLastRunRecordDiagTransformedRegionPixels)) {
    ComPtr<ILumImage> pixels = lcCopyPixelsWithin(in.input.get(), in.region.get());
    lcLockGuard guard(core().lock());
    lastRegionPixels_ = pixels;
  }
}

void CLumSobelEdgeTool::keepLastRunCopies(const RunInputs& in, LONG diag) {
  ComPtr<ILumImage> lastInput;
  ComPtr<ILumRegion> lastRegion;
  if (in.input && hasAny(diag, lumSobelEdgeLastRunRecordDiagInputImageDeepCopy))
    lastInput = deepCopy(in.input.get());
  else if (in.input && hasAny(diag, lumSobelEdgeLastRunRecordDiagInputImageByReference))
    lastInput = in.input;
  if (in.region && hasAny(diag, lumSobelEdgeLastRunRecordDiagRegion))
    lastRegion = deepCopy(in.region.get());
  lcLockGuard guard(core().lock());
  lastInput_ = lastInput;
  lastRegion_ = lastRegion;
}

void CLumSobelEdgeTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    input = input_;
    region = region_;
  }
  if (!hasAny(mask, lumSobelEdgeCurrentRecordInputImage) || !input) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageCurrentInputImage, 0, input.get());
  if (region && hasAny(mask, lumSobelEdgeCurrentRecordRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, region.get());
}

void CLumSobelEdgeTool::addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
  ComPtr<ILumImage> input, pixels;
  ComPtr<ILumRegion> region;
  ComPtr<ILumSobelEdgeResult> result;
  {
    lcLockGuard guard(core().lock());
    input = lastInput_, pixels = lastRegionPixels_, region = lastRegion_, result = result_;
  }
  if (input && hasAny(diag, lumSobelEdgeLastRunRecordDiagInputImageByReference |
                                lumSobelEdgeLastRunRecordDiagInputImageDeepCopy)) {
    auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                            lumRecordUsageLastRun, 0, input.get());
    if (region && hasAny(diag, lumSobelEdgeLastRunRecordDiagRegion))
      lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion, lumRecordUsageLastRun,
                           0, region.get());
  }
  if (pixels && hasAny(diag, lumSobelEdgeLastRunRecordDiagTransformedRegionPixels))
    lcTool::addSubRecord(record, L"TransformedRegionPixels", lumRecordContentImage,
                         lumRecordUsageDerivedDiagnosticImage, 0, pixels.get());
  if (!result) return;
  using Getter = HRESULT (ILumSobelEdgeResult::*)(ILumImage**);
  const struct {
    LONG bit;
    const wchar_t* key;
    Getter get;
  } images[] = {
      {lumSobelEdgeLastRunRecordEdgeAngleImage, L"EdgeAngleImage",
       &ILumSobelEdgeResult::get_EdgeAngleImage},
      {lumSobelEdgeLastRunRecordEdgeMagnitudeImage, L"EdgeMagnitudeImage",
       &ILumSobelEdgeResult::get_EdgeMagnitudeImage},
      {lumSobelEdgeLastRunRecordFinalMagnitudeImage, L"FinalMagnitudeImage",
       &ILumSobelEdgeResult::get_FinalMagnitudeImage},
  };
  for (const auto& entry : images) {
    if (!hasAny(mask, entry.bit)) continue;
    ComPtr<ILumImage> image;
    throwIfFailed((result.get()->*entry.get)(image.put()));
    if (image)
      lcTool::addSubRecord(record, entry.key, lumRecordContentImage, lumRecordUsageLastRun, 0,
                           image.get());
  }
}
