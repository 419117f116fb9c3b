#pragma once
// LumAffineTransformTool: runs its LumAffineTransform on its input image within its
// rectangle-affine region and keeps the output image and, when asked, its mask.

#include "components/framework/tool_base.h"
#include "lumxip/ip/affine_transform.h"

class LUM_VISIBLE CLumAffineTransformTool final
    : public lcToolBase<CLumAffineTransformTool, ILumAffineTransformTool> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumAffineTransformTool,
      L"CLumAffineTransformTool",
      L"Halvex.LumAffineTransformTool",
      1,
      L"Resamples an affine rectangle of an image into an upright image",
      L"LumAffineXformCtl.LumAffineXformEdit",
      L"LumAffineTransformToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumAffineTransformCurrentRecordInputImage | lumAffineTransformCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumAffineTransformLastRunRecordOutputImage;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumAffineTransformLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"OutputImage", L"name{OutputImage} path{OutputImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::input_>(L"InputImage", lumAffineTransformTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
        prop<&Self::output_>(L"OutputImage", lumAffineTransformTool_OutputImage)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::outputMask_>(L"OutputImageMask", lumAffineTransformTool_OutputImageMask)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::region_>(L"Region", lumAffineTransformTool_Region)
            .byReference()
            .flags(kInputChange),
        persisted<&Self::lastRegion_>(L"LastRun_Region"),
        prop<&Self::runParams_>(L"RunParams", lumAffineTransformTool_RunParams).byReference(),
        prop<&Self::createMask_>(L"CreateOutputImageMask",
                                 lumAffineTransformTool_CreateOutputImageMask),
        persisted<&Self::lastCreateMask_>(L"LastRun_CreateOutputImageMask"));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_REF(RunParams, ILumAffineTransform, runParams_)
  LUM_PROPERTY(CreateOutputImageMask, VARIANT_BOOL, createMask_)
  LUM_PROPERTY_GET(OutputImage, ILumImage*, output_)
  LUM_PROPERTY_GET(OutputImageMask, ILumImage*, outputMask_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  ComPtr<ILumAffineTransform> runParams_;
  ComPtr<ILumImage> input_;
  ComPtr<ILumRegion> region_;
  lcBool createMask_{};
  ComPtr<ILumImage> output_;
  ComPtr<ILumImage> outputMask_;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
  lcBool lastCreateMask_{};
};
