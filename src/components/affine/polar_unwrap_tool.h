#pragma once
// LumPolarUnwrapTool: runs its LumPolarUnwrap on its input image within its annulus
// section region and keeps the output image.

#include "components/framework/tool_base.h"
#include "lumxip/ip/polar_unwrap.h"

class LUM_VISIBLE CLumPolarUnwrapTool final
    : public lcToolBase<CLumPolarUnwrapTool, ILumPolarUnwrapTool> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumPolarUnwrapTool,
                                             L"CLumPolarUnwrapTool",
                                             L"Halvex.LumPolarUnwrapTool",
                                             1,
                                             L"Unwraps an annulus section of an image",
                                             L"LumPolarUnwrapCtl.LumPolarUnwrapEdit",
                                             L"LumPolarUnwrapToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumPolarUnwrapCurrentRecordInputImage | lumPolarUnwrapCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumPolarUnwrapLastRunRecordOutputImage;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumPolarUnwrapLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"OutputImage", L"name{OutputImage} path{OutputImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::input_>(L"InputImage", lumPolarUnwrapTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
        prop<&Self::output_>(L"OutputImage", lumPolarUnwrapTool_OutputImage)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::region_>(L"Region", lumPolarUnwrapTool_Region)
            .byReference()
            .flags(kInputChange),
        persisted<&Self::lastRegion_>(L"LastRun_Region"),
        prop<&Self::runParams_>(L"RunParams", lumPolarUnwrapTool_RunParams).byReference());
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_REF(RunParams, ILumPolarUnwrap, runParams_)
  LUM_PROPERTY_GET(OutputImage, ILumImage*, output_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  ComPtr<ILumPolarUnwrap> runParams_;
  ComPtr<ILumImage> input_;
  ComPtr<ILumRegion> region_;
  ComPtr<ILumImage> output_;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
};
