#pragma once
// Copying a region of one image into another: the operator LumCopyRegion copies (or
// fills) the pixels of a region into a destination image or a new image, aligned by the
// images' corners or by a pair of points, and reports where either image clipped the
// copy; LumCopyRegionTool runs it on its input, region and destination.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumCopyRegionSpaceTreeModeConstants : LONG {
  lumCopyRegionSpaceTreeModeUseDestination = 0,             // the destination's tree stays
  lumCopyRegionSpaceTreeModeCopyInput = 1,                  // a copy of the input's tree
  lumCopyRegionSpaceTreeModeUseDestinationMergeInput = 2,   // the input's merged into it
  lumCopyRegionSpaceTreeModeCopyInputMergeDestination = 3,  // the input's, destination's merged
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kCopyRegionSpaceTreeModeNames[] = {
    L"lumCopyRegionSpaceTreeModeUseDestination", L"lumCopyRegionSpaceTreeModeCopyInput",
    L"lumCopyRegionSpaceTreeModeUseDestinationMergeInput",
    L"lumCopyRegionSpaceTreeModeCopyInputMergeDestination"};

enum LumCopyRegionOutputImageTypeConstants : LONG {
  lumCopyRegionOutputImageTypeGrey = 0,
  lumCopyRegionOutputImageTypeRGB = 1,
  lumCopyRegionOutputImageTypeHSI = 2,
  lumCopyRegionOutputImageTypeGrey10 = 3,
  lumCopyRegionOutputImageTypeGrey12 = 4,
  lumCopyRegionOutputImageTypeGrey14 = 5,
  lumCopyRegionOutputImageTypeGrey16 = 6,
  lumCopyRegionOutputImageTypeGrey8 = 7,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kCopyRegionOutputImageTypeNames[] = {
    L"lumCopyRegionOutputImageTypeGrey",   L"lumCopyRegionOutputImageTypeRGB",
    L"lumCopyRegionOutputImageTypeHSI",    L"lumCopyRegionOutputImageTypeGrey10",
    L"lumCopyRegionOutputImageTypeGrey12", L"lumCopyRegionOutputImageTypeGrey14",
    L"lumCopyRegionOutputImageTypeGrey16", L"lumCopyRegionOutputImageTypeGrey8"};

// clang-format off
#define LUM_COPY_REGION_FILL_PROPERTIES(P, x)                                                     \
  P(x, flag, FillRegion, VARIANT_BOOL, 17006593, false, lcNoCheck{},                             \
    "Whether the region's pixels get the fill values instead of the input's")                   \
  P(x, rw, FillRegionValue, LONG, 17006594, 255, lcNoCheck{},                                    \
    "Grey value of the filled region; checked against the output at run time")                  \
  P(x, flag, FillBoundingBox, VARIANT_BOOL, 17006595, true, lcNoCheck{},                         \
    "Whether the bounding box outside the region gets the fill values")                         \
  P(x, rw, FillBoundingBoxValue, LONG, 17006596, 0, lcNoCheck{},                                 \
    "Grey value of the filled bounding box; checked against the output at run time")

#define LUM_COPY_REGION_ALIGNMENT_PROPERTIES(P, x)                                                \
  P(x, flag, ImageAlignmentEnabled, VARIANT_BOOL, 17006597, false, lcNoCheck{},                  \
    "Whether the alignment points meet; else the images' upper-left corners do")               \
  P(x, rw, InputImageAlignmentX, double, 17006598, 0.0, lcNoCheck{},                             \
    "Alignment point in the input image's selected space, x")                                    \
  P(x, rw, InputImageAlignmentY, double, 17006599, 0.0, lcNoCheck{},                             \
    "Alignment point in the input image's selected space, y")                                    \
  P(x, rw, DestinationImageAlignmentX, double, 17006600, 0.0, lcNoCheck{},                       \
    "Alignment point in the destination image's selected space, x")                              \
  P(x, rw, DestinationImageAlignmentY, double, 17006601, 0.0, lcNoCheck{},                       \
    "Alignment point in the destination image's selected space, y")

#define LUM_COPY_REGION_PLANE_PROPERTIES(P, x)                                                    \
  P(x, rw, FillRegionPlane0Value, LONG, 17006635, 255, lcNoCheck{},                              \
    "Plane 0 value of the filled region of a colour image")                                      \
  P(x, rw, SpaceTreeMode, LumCopyRegionSpaceTreeModeConstants, 17006636,                         \
    lumCopyRegionSpaceTreeModeUseDestination,                                                    \
    enumRange(lumCopyRegionSpaceTreeModeUseDestination,                                          \
              lumCopyRegionSpaceTreeModeCopyInputMergeDestination,                               \
              kCopyRegionSpaceTreeModeNames),                                                    \
    "What becomes of the destination's coordinate-space tree")                                   \
  P(x, rw, MergedSpaceTreeName, BSTR, 17006637, L"MergedSpaceTree", lcNoCheck{},                 \
    "Name of the space that bridges two merged trees")                                           \
  P(x, rw, RegionMode, LumRegionModeConstants, 17006639,                                          \
    lumRegionModePixelAlignedBoundingBoxAdjustMask,                                              \
    enumRange(lumRegionModePixelAlignedBoundingBoxAdjustMask,                                    \
              lumRegionModePixelAlignedBoundingBox,                                              \
              std::span(kRegionModeNames).subspan(0, 2)),                                        \
    "Whether the region's shape or its whole pixel-aligned bounding box is copied")             \
  P(x, rw, FillRegionPlane1Value, LONG, 17006642, 255, lcNoCheck{},                              \
    "Plane 1 value of the filled region of a colour image")                                      \
  P(x, rw, FillRegionPlane2Value, LONG, 17006643, 255, lcNoCheck{},                              \
    "Plane 2 value of the filled region of a colour image")                                      \
  P(x, rw, FillBoundingBoxPlane0Value, LONG, 17006644, 0, lcNoCheck{},                           \
    "Plane 0 value of the filled bounding box of a colour image")                                \
  P(x, rw, FillBoundingBoxPlane1Value, LONG, 17006645, 0, lcNoCheck{},                           \
    "Plane 1 value of the filled bounding box of a colour image")                                \
  P(x, rw, FillBoundingBoxPlane2Value, LONG, 17006646, 0, lcNoCheck{},                           \
    "Plane 2 value of the filled bounding box of a colour image")                                \
  P(x, rw, DefaultOutputImageType, LumCopyRegionOutputImageTypeConstants, 17006647,              \
    lumCopyRegionOutputImageTypeGrey,                                                            \
    enumRange(lumCopyRegionOutputImageTypeGrey, lumCopyRegionOutputImageTypeGrey8,              \
              kCopyRegionOutputImageTypeNames),                                                 \
    "Format of the image made when there is no input image")

#define LUM_COPY_REGION_PROPERTIES(P, x)                                                          \
  LUM_COPY_REGION_FILL_PROPERTIES(P, x)                                                          \
  LUM_COPY_REGION_ALIGNMENT_PROPERTIES(P, x)                                                     \
  LUM_COPY_REGION_PLANE_PROPERTIES(P, x)
// clang-format on

inline constexpr DISPID DISPID_LumCopyRegion_Execute = 17006602;
inline constexpr DISPID DISPID_LumCopyRegion_ComputeDestinationRegion = 17006641;

LUM_INTERFACE_ID(ILumCopyRegionParams, IDispatch, IID_ILumCopyRegionParams);
struct LUM_VISIBLE ILumCopyRegionParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_COPY_REGION_PROPERTIES)
};

LUM_INTERFACE_ID(ILumCopyRegion, ILumCopyRegionParams, IID_ILumCopyRegion);
struct LUM_VISIBLE ILumCopyRegion : ILumCopyRegionParams {
  // Copies `input` within `region` (optional; none: the whole image) into `destination`
  // (optional; none: a new image of the region's bounding box). The clip flags and the
  // region as it lies in the output are optional out-parameters.
  virtual HRESULT Execute(ILumImage* input, ILumRegion* region, ILumImage* destination,
                          VARIANT_BOOL* sourceClipped, VARIANT_BOOL* destinationClipped,
                          ILumRegion** destinationRegion, ILumImage** output) = 0;
  // What Execute would report, without writing any pixel.
  virtual HRESULT ComputeDestinationRegion(ILumImage* input, ILumRegion* region,
                                           ILumImage* destination, VARIANT_BOOL* sourceClipped,
                                           VARIANT_BOOL* destinationClipped,
                                           ILumRegion** destinationRegion) = 0;
};

enum LumCopyRegionStateIDs : int32_t { LUM_STATE_IDS(LUM_COPY_REGION_PROPERTIES, lumCopyRegion_) };

enum LumCopyRegionCurrentRecordConstants : LONG {
  lumCopyRegionCurrentRecordNone = 0,
  lumCopyRegionCurrentRecordInputImage = 1,
  lumCopyRegionCurrentRecordRegion = 2,
  lumCopyRegionCurrentRecordDestinationImage = 4,
  lumCopyRegionCurrentRecordAll = -1,
};
enum LumCopyRegionLastRunRecordConstants : LONG {
  lumCopyRegionLastRunRecordNone = 0,
  lumCopyRegionLastRunRecordOutputImage = 1,
  lumCopyRegionLastRunRecordDestinationRegion = 2,
  lumCopyRegionLastRunRecordAll = -1,
};
enum LumCopyRegionLastRunRecordDiagConstants : LONG {
  lumCopyRegionLastRunRecordDiagNone = 0,
  lumCopyRegionLastRunRecordDiagInputImageByReference = 1,
  lumCopyRegionLastRunRecordDiagInputImageDeepCopy = 4,
  lumCopyRegionLastRunRecordDiagRegion = 8,
  lumCopyRegionLastRunRecordDiagAlignmentPoints = 16,
  lumCopyRegionLastRunRecordDiagAll = -1,
};

enum LumCopyRegionToolStateIDs : int32_t {
  lumCopyRegionTool_RunStatus = lumIPTool_RunStatus,
  lumCopyRegionTool_ToolName = lumIPTool_ToolName,
  lumCopyRegionTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumCopyRegionTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumCopyRegionTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumCopyRegionTool_InputImage = 17006607,
  lumCopyRegionTool_Region = 17006608,
  lumCopyRegionTool_DestinationImage = 17006609,
  lumCopyRegionTool_RunParams = 17006610,
  lumCopyRegionTool_SourceClipped = 17006611,
  lumCopyRegionTool_DestinationClipped = 17006612,
  lumCopyRegionTool_OutputImage = 17006613,
  lumCopyRegionTool_DestinationRegion = 17006640,
};

LUM_INTERFACE_ID(ILumCopyRegionTool, ILumIPTool, IID_ILumCopyRegionTool);
struct LUM_VISIBLE ILumCopyRegionTool : ILumIPTool {
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // Default: a rectangle-affine region.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
  // None: each run makes a new output image.
  virtual HRESULT get_DestinationImage(ILumImage** image) = 0;
  virtual HRESULT putref_DestinationImage(ILumImage* image) = 0;
  virtual HRESULT get_RunParams(ILumCopyRegion** params) = 0;
  virtual HRESULT putref_RunParams(ILumCopyRegion* params) = 0;
  // The last run's results; cleared by a failed run.
  virtual HRESULT get_SourceClipped(VARIANT_BOOL* clipped) = 0;
  virtual HRESULT get_DestinationClipped(VARIANT_BOOL* clipped) = 0;
  virtual HRESULT get_OutputImage(ILumImage** image) = 0;
  virtual HRESULT get_DestinationRegion(ILumRegion** region) = 0;
};
