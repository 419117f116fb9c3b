#pragma once
// LumImageSharpnessTool: runs its LumImageSharpness on its input image within its region
// and keeps the score. The records show the input and region, and as diagnostics the
// input and region of the last run.

#include "components/framework/tool_base.h"
#include "lumxip/ip/image_sharpness.h"

class LUM_VISIBLE CLumImageSharpnessTool final
    : public lcToolBase<CLumImageSharpnessTool, ILumImageSharpnessTool> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumImageSharpnessTool,         L"CLumImageSharpnessTool",
      L"Halvex.LumImageSharpnessTool",     1,
      L"Scores the sharpness of an image", L"LumImageSharpCtl.LumImageSharpnessEdit",
      L"LumImageSharpnessToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumImageSharpnessCurrentRecordInputImage | lumImageSharpnessCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumImageSharpnessLastRunRecordNone;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumImageSharpnessLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"Score", L"name{Score} path{Score} type{double}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(prop<&Self::input_>(L"InputImage", lumImageSharpnessTool_InputImage)
                            .byReference()
                            .flags(kInputChange)
                            .inGroups(256),
                        prop<&Self::runParams_>(L"RunParams", lumImageSharpnessTool_RunParams)
                            .byReference()
                            .persistedAs(L"Operator"),
                        prop<&Self::region_>(L"Region", lumImageSharpnessTool_Region)
                            .byReference()
                            .flags(kInputChange),
                        prop<&Self::score_>(L"Score", lumImageSharpnessTool_Score)
                            .readOnly()
                            .flags(lumChangeProducedByRun)
                            .inGroups(1),
                        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
                        persisted<&Self::lastRegion_>(L"LastRun_Region"));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(RunParams, ILumImageSharpness, runParams_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_GET(Score, double, score_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  ComPtr<ILumImage> input_;
  ComPtr<ILumImageSharpness> runParams_;
  ComPtr<ILumRegion> region_;
  double score_ = 0.0;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
};
