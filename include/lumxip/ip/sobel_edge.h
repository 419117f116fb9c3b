#pragma once
// Sobel edges of 8-bit grey images: the operator LumSobelEdge, whose Execute gives a
// LumSobelEdgeResult (the edge angle, edge magnitude and final magnitude images), and
// LumSobelEdgeTool, which runs it on its input image and region.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumSobelEdgePostProcessModeConstants : LONG {
  lumSobelEdgePostProcessModeNone = 0,                // the magnitude image as it is
  lumSobelEdgePostProcessModePeakDetect = 1,          // thinned to whole-pixel peaks
  lumSobelEdgePostProcessModeHysteresisThreshold = 2  // hysteresis thresholding
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kSobelEdgePostProcessModeNames[] = {
    L"lumSobelEdgePostProcessModeNone", L"lumSobelEdgePostProcessModePeakDetect",
    L"lumSobelEdgePostProcessModeHysteresisThreshold"};

enum LumFAs_SobelEdge : LONG {
  lumFA_SobelEdge_HysteresisThresholds = 32,  // raised with either threshold's change
};

// clang-format off
#define LUM_SOBEL_EDGE_PROPERTIES(P, x)                                                           \
  P(x, rw, RegionMode, LumRegionModeConstants, 16998406, lumRegionModePixelAlignedBoundingBox,   \
    namedPair(lumRegionModeAffineTransform, L"lumRegionModeAffineTransform",                     \
              lumRegionModePixelAlignedBoundingBox, L"lumRegionModePixelAlignedBoundigBox"),     \
    "How the region limits the input: its pixel-aligned bounding box or an affine sampling")    \
  P(x, rw, MagnitudeScale, double, 16998407, 1.0, inRange(0.5, 50.0, L"0.5", L"50.0"),           \
    "Factor applied to every magnitude before it saturates at 255")                              \
  P(x, rw, PostProcessMode, LumSobelEdgePostProcessModeConstants, 16998408,                      \
    lumSobelEdgePostProcessModeNone,                                                             \
    enumRange(lumSobelEdgePostProcessModeNone, lumSobelEdgePostProcessModeHysteresisThreshold,   \
              kSobelEdgePostProcessModeNames),                                                   \
    "What becomes of the magnitude image: nothing, peak detection or hysteresis")               \
  P(x, rw, PeakDetectThreshold, LONG, 16998409, 20, inRange<LONG>(0, 255, L"0", L"255"),          \
    "Magnitude below which peak detection keeps nothing")                                        \
  P(x, rw, HysteresisThresholdLow, LONG, 16998410, 10, inRange<LONG>(0, 255, L"0", L"255"),       \
    "Magnitude a pixel joined to a strong one needs to survive; raises the high one above it")  \
  P(x, rw, HysteresisThresholdHigh, LONG, 16998411, 20, inRange<LONG>(0, 255, L"0", L"255"),      \
    "Magnitude from which a pixel survives alone; lowers the low one below it")

#define LUM_SOBEL_EDGE_PEL_VALUE_PROPERTIES(P, x)                                                 \
  P(x, rw, HysteresisSurvivorPelValue, LONG, 16998412, 255, inRange<LONG>(0, 255, L"0", L"255"),  \
    "Value of the pixels hysteresis keeps")                                                      \
  P(x, rw, HysteresisNonSurvivorPelValue, LONG, 16998413, 0, inRange<LONG>(0, 255, L"0", L"255"), \
    "Value of the pixels hysteresis drops")

#define LUM_SOBEL_EDGE_ALL_PROPERTIES(P, x) \
  LUM_SOBEL_EDGE_PROPERTIES(P, x) LUM_SOBEL_EDGE_PEL_VALUE_PROPERTIES(P, x)

#define LUM_SOBEL_EDGE_RESULT_PROPERTIES(P, x)                                                    \
  P(x, ro, EdgeAngleImage, ILumImage*, 16998415, nullptr, lcNoCheck{},                           \
    "Gradient direction of every pixel, 256 codes a turn: 0 along +x, 64 down")                  \
  P(x, ro, EdgeMagnitudeImage, ILumImage*, 16998416, nullptr, lcNoCheck{},                       \
    "Gradient magnitude of every pixel, 0 to 255")                                               \
  P(x, ro, FinalMagnitudeImage, ILumImage*, 16998417, nullptr, lcNoCheck{},                      \
    "The magnitude image after post-processing; without it the magnitude image itself")
// clang-format on

inline constexpr DISPID DISPID_LumSobelEdge_SetHysteresisThresholds = 16998414;
inline constexpr DISPID DISPID_LumSobelEdge_Execute = 16998418;

LUM_INTERFACE_ID(ILumSobelEdgeResult, IDispatch, IID_ILumSobelEdgeResult);
struct LUM_VISIBLE ILumSobelEdgeResult : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_SOBEL_EDGE_RESULT_PROPERTIES)
};

LUM_INTERFACE_ID(ILumSobelEdgeParams, IDispatch, IID_ILumSobelEdgeParams);
struct LUM_VISIBLE ILumSobelEdgeParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_SOBEL_EDGE_PROPERTIES)
  // Both thresholds at once, each 0..255 and high not below low.
  virtual HRESULT SetHysteresisThresholds(LONG low, LONG high) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_SOBEL_EDGE_PEL_VALUE_PROPERTIES)
};

LUM_INTERFACE_ID(ILumSobelEdge, ILumSobelEdgeParams, IID_ILumSobelEdge);
struct LUM_VISIBLE ILumSobelEdge : ILumSobelEdgeParams {
  // The edges of an 8-bit grey image within `region` (optional; none: the whole image),
  // which RegionMode applies.
  virtual HRESULT Execute(ILumImage* input, ILumRegion* region, ILumSobelEdgeResult** result) = 0;
};

enum LumSobelEdgeStateIDs : int32_t { LUM_STATE_IDS(LUM_SOBEL_EDGE_ALL_PROPERTIES, lumSobelEdge_) };
enum LumSobelEdgeResultStateIDs : int32_t {
  LUM_STATE_IDS(LUM_SOBEL_EDGE_RESULT_PROPERTIES, lumSobelEdgeResult_)
};

enum LumSobelEdgeCurrentRecordConstants : LONG {
  lumSobelEdgeCurrentRecordNone = 0,
  lumSobelEdgeCurrentRecordInputImage = 2,
  lumSobelEdgeCurrentRecordRegion = 4,
  lumSobelEdgeCurrentRecordAll = -1,
};
enum LumSobelEdgeLastRunRecordConstants : LONG {
  lumSobelEdgeLastRunRecordNone = 0,
  lumSobelEdgeLastRunRecordEdgeAngleImage = 2,
  lumSobelEdgeLastRunRecordEdgeMagnitudeImage = 4,
  lumSobelEdgeLastRunRecordFinalMagnitudeImage = 8,
  lumSobelEdgeLastRunRecordAll = -1,
};
enum LumSobelEdgeLastRunRecordDiagConstants : LONG {
  lumSobelEdgeLastRunRecordDiagNone = 0,
  lumSobelEdgeLastRunRecordDiagInputImageByReference = 1,
  lumSobelEdgeLastRunRecordDiagInputImageDeepCopy = 4,
  lumSobelEdgeLastRunRecordDiagRegion = 16,
  lumSobelEdgeLastRunRecordDiagTransformedRegionPixels = 32,
  lumSobelEdgeLastRunRecordDiagAll = -1,
};

enum LumSobelEdgeToolStateIDs : int32_t {
  lumSobelEdgeTool_RunStatus = lumIPTool_RunStatus,
  lumSobelEdgeTool_ToolName = lumIPTool_ToolName,
  lumSobelEdgeTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumSobelEdgeTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumSobelEdgeTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumSobelEdgeTool_InputImage = 16998425,
  lumSobelEdgeTool_Region = 16998426,
  lumSobelEdgeTool_RunParams = 16998427,
  lumSobelEdgeTool_Result = 16998428,
};

LUM_INTERFACE_ID(ILumSobelEdgeTool, ILumIPTool, IID_ILumSobelEdgeTool);
struct LUM_VISIBLE ILumSobelEdgeTool : ILumIPTool {
  // 8-bit grey; stores the reference as given.
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // None: the whole image.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
  // The operator Run executes.
  virtual HRESULT get_RunParams(ILumSobelEdge** params) = 0;
  virtual HRESULT putref_RunParams(ILumSobelEdge* params) = 0;
  // The last run's result; none before a run or after a failed one.
  virtual HRESULT get_Result(ILumSobelEdgeResult** result) = 0;
};
