#pragma once
// LumIPOneImageTool: runs its chain of one-image operators on its input image. Only the
// first enabled operator gets the region; each later one works on the previous output.
// An empty chain copies the input within the region; a chain with nothing enabled gives
// the input image object itself.

#include "components/framework/tool_base.h"
#include "lumxip/HalvexImageProcessing.h"
#include "lumxip/ip/one_image_tool.h"

class LUM_VISIBLE CLumIPOneImageTool final
    : public lcToolBase<CLumIPOneImageTool, ILumIPOneImageTool> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageTool,
                                             L"CLumIPOneImageTool",
                                             L"Halvex.LumIPOneImageTool",
                                             1,
                                             L"Runs a chain of one-image operators",
                                             L"LumIPOneImageCtl.LumIPOneImageEdit",
                                             L"LumIPOneImageToolStateIDs"};
  static constexpr LONG kCurrentRecordDefault =
      lumIPOneImageCurrentRecordInputImage | lumIPOneImageCurrentRecordRegion;
  static constexpr LONG kLastRunRecordDefault = lumIPOneImageLastRunRecordOutputImage;
  static constexpr LONG kLastRunRecordDiagDefault =
      lumIPOneImageLastRunRecordDiagInputImageByReference;
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImage", L"name{InputImage} path{InputImage} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"OutputImage", L"name{OutputImage} path{OutputImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto ownMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return lum::members(
        prop<&Self::operators_>(L"Operators", lumIPOneImageTool_Operators).readOnly(),
        prop<&Self::regionMode_>(L"RegionMode", lumIPOneImageTool_RegionMode)
            .byDefault(lumRegionModePixelAlignedBoundingBox)
            .checkedBy(enumRange(lumRegionModePixelAlignedBoundingBoxAdjustMask,
                                 lumRegionModeAffineTransform, kRegionModeNames)),
        prop<&Self::region_>(L"Region", lumIPOneImageTool_Region).byReference().flags(kInputChange),
        prop<&Self::input_>(L"InputImage", lumIPOneImageTool_InputImage)
            .byReference()
            .flags(kInputChange)
            .inGroups(256),
        prop<&Self::output_>(L"OutputImage", lumIPOneImageTool_OutputImage)
            .readOnly()
            .flags(lumChangeProducedByRun)
            .inGroups(1),
        persisted<&Self::intermediates_>(L"IntermediateImages").inGroups(1),
        persisted<&Self::lastInput_>(L"InputImage_LastRun").inGroups(256),
        persisted<&Self::lastRegion_>(L"Region_LastRun"),
        persisted<&Self::lastRegionMode_>(L"RegionMode_LastRun")
            .byDefault(lumRegionModePixelAlignedBoundingBox));
  }
  LUM_PROPERTY_REF(InputImage, ILumImage, input_)
  LUM_PROPERTY_GET(OutputImage, ILumImage*, output_)
  LUM_PROPERTY_GET(Operators, ILumIPOneImageOperators*, operators_)
  LUM_PROPERTY(RegionMode, LumRegionModeConstants, regionMode_)
  LUM_PROPERTY_REF(Region, ILumRegion, region_)

  void constructTool();
  void runStep();
  void addCurrentSubRecords(ILumRecord& record, LONG mask);
  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diagnosticMask);

 private:
  struct RunInputs;
  struct ChainOutcome;
  void keepLastRunCopies(const RunInputs& in, LONG diagnosticMask);
  ChainOutcome runChain(const RunInputs& in, LONG diagnosticMask);
  ComPtr<ILumCollection> createIntermediates();
  void addIntermediateRecords(ILumRecord& record, ILumCollection& images);

  ComPtr<ILumIPOneImageOperators> operators_;
  LumRegionModeConstants regionMode_ = lumRegionModePixelAlignedBoundingBox;
  ComPtr<ILumRegion> region_;
  ComPtr<ILumImage> input_;
  ComPtr<ILumImage> output_;
  ComPtr<ILumCollection> intermediates_;  // keyed by the producing operator's name
  ComPtr<ILumImage> lastInput_;
  ComPtr<ILumRegion> lastRegion_;
  LumRegionModeConstants lastRegionMode_ = lumRegionModePixelAlignedBoundingBox;
};
