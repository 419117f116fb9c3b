#include "components/copyregion/copy_region_tool.h"

#include "components/framework/tool_inputs.h"

namespace {

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

}  // namespace

void CLumCopyRegionTool::constructTool() {
  runParams_ = create<ILumCopyRegion>(CLSID_LumCopyRegion);
  region_ = create<ILumRegion>(CLSID_LumRectangleAffine);
}

void CLumCopyRegionTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  lcToolInputs run;
  ComPtr<ILumImage> destination;
  ComPtr<ILumCopyRegion> params;
  bool hadResults = false;
  {
    lcLockGuard guard(core().lock());
    run = {input_, region_};
    destination = destination_, params = runParams_;
    hadResults = output_ || destinationRegion_ || sourceClipped_.value || destinationClipped_.value;
    output_ = nullptr, destinationRegion_ = nullptr;
    sourceClipped_ = {}, destinationClipped_ = {};
  }
  if (hadResults) core().fireChange(lumStateSeveralChanged, lumChangeProducedByRun);
  const lcToolInputs last = lcLastRunInputs(run, diag);
  {
    lcLockGuard guard(core().lock());
    lastInput_ = last.input, lastRegion_ = last.region;
  }

  if (!params) throw lcCOMError(kNoRunParams, 0);
  VARIANT_BOOL sourceClipped = VARIANT_FALSE, destinationClipped = VARIANT_FALSE;
  ComPtr<ILumRegion> destinationRegion;
  ComPtr<ILumImage> output;
  throwIfFailed(params->Execute(run.input.get(), run.region.get(), destination.get(),
                                &sourceClipped, &destinationClipped, destinationRegion.put(),
                                output.put()));
  {
    lcLockGuard guard(core().lock());
    output_ = output, destinationRegion_ = destinationRegion;
    sourceClipped_.value = sourceClipped != VARIANT_FALSE;
    destinationClipped_.value = destinationClipped != VARIANT_FALSE;
  }
  core().fireChange(lumStateSeveralChanged, lumChangeProducedByRun);
}

void CLumCopyRegionTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  lcToolInputs current;
  ComPtr<ILumImage> destination;
  {
    lcLockGuard guard(core().lock());
    current = {input_, region_};
    destination = destination_;
  }
  lcAddCurrentInputRecord(record, current, mask);
  if (destination && lcTool::hasAny(mask, lumCopyRegionCurrentRecordDestinationImage))
    lcTool::addSubRecord(record, L"DestinationImage", lumRecordContentImage,
                         lumRecordUsageCurrentInputImage, 0, destination.get());
}

void CLumCopyRegionTool::addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
  lcToolInputs last;
  ComPtr<ILumImage> output;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    last = {lastInput_, lastRegion_};
    output = output_, region = destinationRegion_;
  }
  lcAddLastRunInputRecord(record, last, diag);
  lcAddLastRunImageRecord(record, L"OutputImage", output.get(),
                          mask & lumCopyRegionLastRunRecordOutputImage);
  if (region && lcTool::hasAny(mask, lumCopyRegionLastRunRecordDestinationRegion))
    lcTool::addSubRecord(record, L"DestinationRegion", lumRecordContentRegion,
                         lumRecordUsageLastRun, 0, region.get());
}
