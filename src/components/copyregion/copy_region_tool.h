#pragma once
// LumCopyRegionTool: runs its LumCopyRegion on its input image, region and destination
// image and keeps the output, the clip flags and the region as it lies in the output.
// The records show the inputs and the destination, the output image and region, and as
// diagnostics the input and its region as the last run saw them.

#include "components/framework/tool_base.h"
#include "lumxip/ip/copy_region.h"

class LUM_VISIBLE CLumCopyRegionTool final
    : public lcToolBase<CLumCopyRegionTool, ILumCopyRegionTool> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumCopyRegionTool,
                                             L"CLumCopyRegionTool",
                                             L"Halvex.LumCopyRegionTool",
                                             1,
                                             L"Copies a region of one image into another",
                                             L"LumCopyRegionCtl.LumCopyRegionEdit",
                                             L"LumCopyRegionToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault = lumCopyRegionCurrentRecordInputImage |
                                                lumCopyRegionCurrentRecordRegion |
                                                lumCopyRegionCurrentRecordDestinationImage;
  static constexpr LONG kLastRunRecordDefault = lumCopyRegionLastRunRecordOutputImage;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumCopyRegionLastRunRecordDiagInputImageByReference | lumCopyRegionLastRunRecordDiagRegion;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"},
      {L"DestinationImage", L"name{DestinationImage} path{DestinationImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"OutputImage", L"name{OutputImage} path{OutputImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::input_>(L"InputImage", lumCopyRegionTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        prop<&Self::region_>(L"Region", lumCopyRegionTool_Region).byReference().flags(kInputChange),
        prop<&Self::destination_>(L"DestinationImage", lumCopyRegionTool_DestinationImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        prop<&Self::runParams_>(L"RunParams", lumCopyRegionTool_RunParams)
            .byReference()
            .persistedAs(L"Operator"),
        prop<&Self::sourceClipped_>(L"SourceClipped", lumCopyRegionTool_SourceClipped)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::destinationClipped_>(L"DestinationClipped",
                                         lumCopyRegionTool_DestinationClipped)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::output_>(L"OutputImage", lumCopyRegionTool_OutputImage)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::destinationRegion_>(L"DestinationRegion", lumCopyRegionTool_DestinationRegion)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
        persisted<&Self::lastRegion_>(L"LastRun_Region"));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_REF(DestinationImage, ILumImage, destination_)
  LUM_PROPERTY_REF(RunParams, ILumCopyRegion, runParams_)
  LUM_PROPERTY_GET(SourceClipped, VARIANT_BOOL, sourceClipped_)
  LUM_PROPERTY_GET(DestinationClipped, VARIANT_BOOL, destinationClipped_)
  LUM_PROPERTY_GET(OutputImage, ILumImage*, output_)
  LUM_PROPERTY_GET(DestinationRegion, ILumRegion*, destinationRegion_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  ComPtr<ILumImage> input_;
  ComPtr<ILumRegion> region_;
  ComPtr<ILumImage> destination_;
  ComPtr<ILumCopyRegion> runParams_;
  lcBool sourceClipped_;
  lcBool destinationClipped_;
  ComPtr<ILumImage> output_;
  ComPtr<ILumRegion> destinationRegion_;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
};
