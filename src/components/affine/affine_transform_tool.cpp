#include "components/affine/affine_transform_tool.h"

#include "components/framework/tool_inputs.h"

namespace {

inline constexpr HRESULT kNoRunParams = hresultFrom(0x8004E500);

}  // namespace

void CLumAffineTransformTool::constructTool() {
  runParams_ = create<ILumAffineTransform>(CLSID_LumAffineTransform);
  region_ = create<ILumRegion>(CLSID_LumRectangleAffine);
}

void CLumAffineTransformTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  lcToolInputs run;
  ComPtr<ILumImage> previousOutput, previousMask;
  ComPtr<ILumAffineTransform> params;
  bool createMask = false;
  {
    lcLockGuard guard(core().lock());
    run = {input_, region_};
    params = runParams_;
    createMask = createMask_.value;
    lastCreateMask_ = createMask_;
    previousOutput = std::move(output_);
    previousMask = std::move(outputMask_);
  }
  if (previousOutput) core().fireChange(lumAffineTransformTool_OutputImage, lumChangeProducedByRun);
  if (previousMask)
    core().fireChange(lumAffineTransformTool_OutputImageMask, lumChangeProducedByRun);
  const lcToolInputs last = lcLastRunInputs(run, diag);
  {
    lcLockGuard guard(core().lock());
    lastInput_ = last.input;
    lastRegion_ = last.region;
  }

  if (!params) throw lcCOMError(kNoRunParams, 0);
  ComPtr<ILumImage> output, mask;
  throwIfFailed(params->Execute(run.input.get(), run.region.get(),
                                createMask ? mask.put() : nullptr, output.put()));
  {
    lcLockGuard guard(core().lock());
    output_ = output;
    outputMask_ = mask;
  }
  core().fireChange(lumAffineTransformTool_OutputImage,
                    *lum::Variant(static_cast<IDispatch*>(output.get())).ptr(),
                    lumChangeProducedByRun);
  if (mask)
    core().fireChange(lumAffineTransformTool_OutputImageMask,
                      *lum::Variant(static_cast<IDispatch*>(mask.get())).ptr(),
                      lumChangeProducedByRun);
}

void CLumAffineTransformTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  lcToolInputs current;
  {
    lcLockGuard guard(core().lock());
    current = {input_, region_};
  }
  lcAddCurrentInputRecord(record, current, mask);
}

void CLumAffineTransformTool::addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
  lcToolInputs last;
  ComPtr<ILumImage> output, outputMask;
  {
    lcLockGuard guard(core().lock());
    last = {lastInput_, lastRegion_};
    output = output_, outputMask = outputMask_;
  }
  lcAddLastRunInputRecord(record, last, diag);
  lcAddLastRunImageRecord(record, L"OutputImage", output.get(),
                          mask & lumAffineTransformLastRunRecordOutputImage);
  lcAddLastRunImageRecord(record, L"OutputImageMask", outputMask.get(),
                          mask & lumAffineTransformLastRunRecordOutputImageMask);
}
