#include "components/framework/tool_inputs.h"

namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

constexpr LONG kCurrentInput = 1, kCurrentRegion = 2;
constexpr LONG kDiagByReference = 1, kDiagDeepCopy = 4, kDiagRegion = 8;

}  // namespace

lcToolInputs lcLastRunInputs(const lcToolInputs& run, LONG diag) {
  lcToolInputs last;
  if (run.input && hasAny(diag, kDiagDeepCopy))
    last.input = deepCopy<ILumImage>(run.input.get());
  else if (run.input && hasAny(diag, kDiagByReference))
    last.input = run.input;
  if (run.region && hasAny(diag, kDiagRegion)) last.region = deepCopy<ILumRegion>(run.region.get());
  return last;
}

void lcAddCurrentInputRecord(ILumRecord& record, const lcToolInputs& current, LONG mask) {
  if (!hasAny(mask, kCurrentInput) || !current.input) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageCurrentInputImage, 0, current.input.get());
  if (current.region && hasAny(mask, kCurrentRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, current.region.get());
}

void lcAddLastRunInputRecord(ILumRecord& record, const lcToolInputs& last, LONG diag) {
  if (!last.input || !hasAny(diag, kDiagByReference | kDiagDeepCopy)) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageLastRun, 0, last.input.get());
  if (last.region && hasAny(diag, kDiagRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion, lumRecordUsageLastRun, 0,
                         last.region.get());
}

void lcAddLastRunImageRecord(ILumRecord& record, const wchar_t* key, ILumImage* image,
                             bool wanted) {
  if (image && wanted)
    lcTool::addSubRecord(record, key, lumRecordContentImage, lumRecordUsageLastRun, 0, image);
}
