#include "components/affine/polar_unwrap_tool.h"

#include "components/framework/tool_inputs.h"

namespace {

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

}  // namespace

void CLumPolarUnwrapTool::constructTool() {
  runParams_ = create<ILumPolarUnwrap>(CLSID_LumPolarUnwrap);
  region_ = create<ILumRegion>(CLSID_LumEllipticalAnnulusSection);
}

void CLumPolarUnwrapTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  lcToolInputs run;
  ComPtr<ILumImage> previous;
  ComPtr<ILumPolarUnwrap> params;
  {
    lcLockGuard guard(core().lock());
    run = {input_, region_};
    params = runParams_;
    previous = std::move(output_);
  }
  if (previous) core().fireChange(lumPolarUnwrapTool_OutputImage, lumChangeProducedByRun);
  const lcToolInputs last = lcLastRunInputs(run, diag);
  {
    lcLockGuard guard(core().lock());
    lastInput_ = last.input;
    lastRegion_ = last.region;
  }
  if (!params) throw lcCOMError(kNoRunParams, 0);
  ComPtr<ILumImage> output;
  throwIfFailed(params->Execute(run.input.get(), run.region.get(), output.put()));
  {
    lcLockGuard guard(core().lock());
    output_ = output;
  }
  core().fireChange(lumPolarUnwrapTool_OutputImage,
                    *lum::Variant(static_cast<IDispatch*>(output.get())).ptr(),
                    lumChangeProducedByRun);
}

void CLumPolarUnwrapTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  lcToolInputs current;
  {
    lcLockGuard guard(core().lock());
    current = {input_, region_};
  }
  lcAddCurrentInputRecord(record, current, mask);
}

void CLumPolarUnwrapTool::addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
  lcToolInputs last;
  ComPtr<ILumImage> output;
  {
    lcLockGuard guard(core().lock());
    last = {lastInput_, lastRegion_};
    output = output_;
  }
  lcAddLastRunInputRecord(record, last, diag);
  lcAddLastRunImageRecord(record, L"OutputImage", output.get(),
                          mask & lumPolarUnwrapLastRunRecordOutputImage);
}
