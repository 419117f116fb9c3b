#include "components/sharpness/image_sharpness_tool.h"

#include <utility>

namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

}  // namespace

void CLumImageSharpnessTool::constructTool() {
  runParams_ = create<ILumImageSharpness>(CLSID_LumImageSharpness);
}

void CLumImageSharpnessTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  ComPtr<ILumImageSharpness> params;
  bool hadScore = false;
  {
    lcLockGuard guard(core().lock());
    input = input_, region = region_, params = runParams_;
    hadScore = std::exchange(score_, 0.0) != 0.0;
    lastInput_ = nullptr, lastRegion_ = nullptr;
  }
  if (hadScore)
    core().fireChange(lumImageSharpnessTool_Score, *lum::Variant(0.0).ptr(),
                      lumChangeProducedByRun);
  ComPtr<ILumImage> lastInput;
  ComPtr<ILumRegion> lastRegion;
  if (input && hasAny(diag, lumImageSharpnessLastRunRecordDiagInputImageDeepCopy))
    lastInput = deepCopy(input.get());
  else if (input && hasAny(diag, lumImageSharpnessLastRunRecordDiagInputImageByReference))
    lastInput = input;
  if (region && hasAny(diag, lumImageSharpnessLastRunRecordDiagRegion))
    lastRegion = deepCopy(region.get());
  {
    lcLockGuard guard(core().lock());
    lastInput_ = lastInput, lastRegion_ = lastRegion;
  }

  if (!params) throw lcCOMError(kNoRunParams, 0);
  double score = 0.0;
  throwIfFailed(params->Execute(input.get(), region.get(), &score));
  {
    lcLockGuard guard(core().lock());
    score_ = score;
  }
  core().fireChange(lumImageSharpnessTool_Score, *lum::Variant(score).ptr(),
                    lumChangeProducedByRun);
}

void CLumImageSharpnessTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    input = input_, region = region_;
  }
  if (!hasAny(mask, lumImageSharpnessCurrentRecordInputImage) || !input) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageCurrentInputImage, 0, input.get());
  if (region && hasAny(mask, lumImageSharpnessCurrentRecordRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, region.get());
}

void CLumImageSharpnessTool::addLastRunSubRecords(ILumRecord& record, LONG, LONG diag) {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    input = lastInput_, region = lastRegion_;
  }
  if (!input || !hasAny(diag, lumImageSharpnessLastRunRecordDiagInputImageByReference |
                                  lumImageSharpnessLastRunRecordDiagInputImageDeepCopy))
    return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageLastRun, 0, input.get());
  if (region && hasAny(diag, lumImageSharpnessLastRunRecordDiagRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion, lumRecordUsageLastRun, 0,
                         region.get());
}
