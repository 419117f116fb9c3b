#pragma once
// LumImageAverageTool: each run adds its input image within its region to its
// LumImageAverage and refreshes the average image (and, when the operator keeps them,
// the standard deviation image). The records show the input and region, the two images,
// and as diagnostics the input, its region and the pixels within it.

#include "components/framework/tool_base.h"
#include "lumxip/ip/image_average.h"

class LUM_VISIBLE CLumImageAverageTool final
    : public lcToolBase<CLumImageAverageTool, ILumImageAverageTool> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumImageAverageTool,        L"CLumImageAverageTool",
      L"Halvex.LumImageAverageTool",    1,
      L"Averages a sequence of images", L"LumImageAverageCtl.LumImageAverageEdit",
      L"LumImageAverageToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumImageAverageCurrentRecordInputImage | lumImageAverageCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumImageAverageLastRunRecordAverageImage;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumImageAverageLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"AverageImage", L"name{AverageImage} path{AverageImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::runParams_>(L"RunParams", lumImageAverageTool_RunParams)
            .byReference()
            .persistedAs(L"Operator"),
        prop<&Self::input_>(L"InputImage", lumImageAverageTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        prop<&Self::region_>(L"Region", lumImageAverageTool_Region)
            .byReference()
            .flags(kInputChange),
        prop<&Self::average_>(L"AverageImage", lumImageAverageTool_AverageImage)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::deviation_>(L"StandardDeviationImage",
                                lumImageAverageTool_StandardDeviationImage)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
        persisted<&Self::lastRegion_>(L"LastRun_Region"),
        persisted<&Self::lastRegionPixels_>(L"LastRun_TransformedRegionPixels").inGroups(1));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_REF(RunParams, ILumImageAverage, runParams_)
  LUM_PROPERTY_GET(AverageImage, ILumImage*, average_)
  LUM_PROPERTY_GET(StandardDeviationImage, ILumImage*, deviation_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  void keepLastRunCopies(ILumImage* input, ILumRegion* region, LONG mode, LONG diagnosticMask);
  // Stores a run's image in `field` and raises its change.
  void publish(ComPtr<ILumImage> CLumImageAverageTool::*field, DISPID id, ComPtr<ILumImage> image);

  ComPtr<ILumImageAverage> runParams_;
  ComPtr<ILumImage> input_;
  ComPtr<ILumRegion> region_;
  ComPtr<ILumImage> average_;
  ComPtr<ILumImage> deviation_;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
  ComPtr<ILumImage> lastRegionPixels_;  // the input's pixels within the region
};
