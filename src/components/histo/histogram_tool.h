#pragma once
// LumHistogramTool: runs its LumHistogram on its input image within its region and keeps
// the result. The records show the input and its region; the last-run record shows the
// drawn histogram (the parts LastRunRecordEnable selects) and, as diagnostics, the input
// with its care mask and region as they were at the last run.

#include "components/framework/tool_base.h"
#include "lumxip/ip/histogram.h"

class LUM_VISIBLE CLumHistogramTool final
    : public lcToolBase<CLumHistogramTool, ILumHistogramTool> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumHistogramTool,
                                             L"CLumHistogramTool",
                                             L"Halvex.LumHistogramTool",
                                             1,
                                             L"Histogram of an image's grey values",
                                             L"LumHistogramCtl.LumHistogramEdit",
                                             L"LumHistogramToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumHistogramCurrentRecordInputImage | lumHistogramCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumHistogramLastRunRecordHistogram;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumHistogramLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"Result.NumSamples", L"name{Result.NumSamples} path{Result.NumSamples} type{long}"},
      {L"Result.Mean", L"name{Result.Mean} path{Result.Mean} type{double}"},
      {L"Result.Median", L"name{Result.Median} path{Result.Median} type{long}"},
      {L"Result.StandardDeviation",
       L"name{Result.StandardDeviation} path{Result.StandardDeviation} type{double}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::runParams_>(L"RunParams", lumHistogramTool_RunParams).byReference(),
        prop<&Self::region_>(L"Region", lumHistogramTool_Region).byReference().flags(kInputChange),
        prop<&Self::result_>(L"Result", lumHistogramTool_Result)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        prop<&Self::input_>(L"InputImage", lumHistogramTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        persisted<&Self::lastInput_>(L"LastRun_InputImage").inGroups(256),
        persisted<&Self::lastRegion_>(L"LastRun_Region"),
        persisted<&Self::lastMask_>(L"LastRun_InputImageMask").inGroups(256),
        persisted<&Self::lastGraphics_>(L"LastRun_HistogramGraphicsRecordContent"));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)
  LUM_PROPERTY_REF(RunParams, ILumHistogramParams, runParams_)
  LUM_PROPERTY_GET(Result, ILumHistogramResult*, result_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  ComPtr<ILumHistogramParams> runParams_;
  ComPtr<ILumImage> input_;
  ComPtr<ILumRegion> region_;
  ComPtr<ILumHistogramResult> result_;
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
  ComPtr<ILumImage> lastMask_;
  // The drawn histogram of the last run (an ILumGraphicCollection), when the last-run
  // record asked for any part of it.
  ComPtr<IUnknown> lastGraphics_;
};
