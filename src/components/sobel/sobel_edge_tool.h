#pragma once
// LumSobelEdgeTool: runs its LumSobelEdge on its input image within its region and keeps
// the result. The records show the input and region, the result's images, and as
// diagnostics the input, its region and the pixels within it.

#include "components/framework/tool_base.h"
#include "lumxip/ip/sobel_edge.h"

class LUM_VISIBLE CLumSobelEdgeTool final
    : public lcToolBase<CLumSobelEdgeTool, ILumSobelEdgeTool> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumSobelEdgeTool,           L"CLumSobelEdgeTool",
      L"Halvex.LumSobelEdgeTool",       1,
      L"Finds Sobel edges in an image", L"LumSobelEdgeCtl.LumSobelEdgeEdit",
      L"LumSobelEdgeToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumSobelEdgeCurrentRecordInputImage | lumSobelEdgeCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumSobelEdgeLastRunRecordFinalMagnitudeImage;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumSobelEdgeLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"Result.EdgeAngleImage",
       L"name{Result.EdgeAngleImage} path{Result.EdgeAngleImage} type{ILumImage}"},
      {L"Result.EdgeMagnitudeImage",
       L"name{Result.EdgeMagnitudeImage} path{Result.EdgeMagnitudeImage} type{ILumImage}"},
      {L"Result.FinalMagnitudeImage",
       L"name{Result.FinalMagnitudeImage} path{Result.FinalMagnitudeImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::runParams_>(L"RunParams", lumSobelEdgeTool_RunParams)
            .byReference()
            .persistedAs(L"Operator"),
        prop<&Self::input_>(L"InputImage", lumSobelEdgeTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        prop<&Self::region_>(L"Region", lumSobelEdgeTool_Region).byReference().flags(kInputChange),
        prop<&Self::result_>(L"Result", lumSobelEdgeTool_Result)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
        persisted<&Self::lastRegion_>(L"LastRun_Region"),
        persisted<&Self::lastRegionPixels_>(L"LastRun_TransformedRegionPixels").inGroups(1));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_REF(RunParams, ILumSobelEdge, runParams_)
  LUM_PROPERTY_GET(Result, ILumSobelEdgeResult*, result_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  struct RunInputs;
  void keepLastRunCopies(const RunInputs& in, LONG diagnosticMask);

  ComPtr<ILumSobelEdge> runParams_;
  ComPtr<ILumImage> input_;
  ComPtr<ILumRegion> region_;
  ComPtr<ILumSobelEdgeResult> result_;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
  ComPtr<ILumImage> lastRegionPixels_;  // the input's pixels within the region
};
