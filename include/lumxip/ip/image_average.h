#pragma once
// Averaging of 8-bit grey frames: the operator LumImageAverage accumulates frames with
// Add and gives their pixel-wise average and standard deviation images;
// LumImageAverageTool adds its input image at every run and refreshes both images.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

// clang-format off
#define LUM_IMAGE_AVERAGE_PROPERTIES(P, x)                                                        \
  P(x, rw, RegionMode, LumRegionModeConstants, 17047553, lumRegionModePixelAlignedBoundingBox,   \
    namedPair(lumRegionModeAffineTransform, L"lumRegionModeAffineTransform",                     \
              lumRegionModePixelAlignedBoundingBox, L"lumRegionModePixelAlignedBoundigBox"),     \
    "How the region limits each frame: its pixel-aligned bounding box or an affine sampling")   \
  P(x, flag, StandardDeviationEnabled, VARIANT_BOOL, 17047554, false, lcNoCheck{},               \
    "Whether sums of squares are kept; a change discards the accumulated frames")               \
  P(x, computed, NumImages, LONG, 17047555, 0, lcNoCheck{}, "Number of frames accumulated")
// clang-format on

inline constexpr DISPID DISPID_LumImageAverage_Add = 17047556;
inline constexpr DISPID DISPID_LumImageAverage_Reset = 17047557;
inline constexpr DISPID DISPID_LumImageAverage_ExecuteAverage = 17047558;
inline constexpr DISPID DISPID_LumImageAverage_ExecuteStandardDeviation = 17047559;

LUM_INTERFACE_ID(ILumImageAverageParams, IDispatch, IID_ILumImageAverageParams);
struct LUM_VISIBLE ILumImageAverageParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_IMAGE_AVERAGE_PROPERTIES)
};

LUM_INTERFACE_ID(ILumImageAverage, ILumImageAverageParams, IID_ILumImageAverage);
struct LUM_VISIBLE ILumImageAverage : ILumImageAverageParams {
  // Accumulates an 8-bit grey image within `region` (optional), which RegionMode applies;
  // every frame must have the first one's size. At most 257 frames.
  virtual HRESULT Add(ILumImage* input, ILumRegion* region) = 0;
  // Discards the accumulated frames.
  virtual HRESULT Reset() = 0;
  // The rounded pixel-wise mean of the frames.
  virtual HRESULT ExecuteAverage(ILumImage** average) = 0;
  // The pixel-wise sample standard deviation; needs StandardDeviationEnabled.
  virtual HRESULT ExecuteStandardDeviation(ILumImage** deviation) = 0;
};

enum LumImageAverageStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IMAGE_AVERAGE_PROPERTIES, lumImageAverage_)
};

enum LumImageAverageCurrentRecordConstants : LONG {
  lumImageAverageCurrentRecordNone = 0,
  lumImageAverageCurrentRecordInputImage = 2,
  lumImageAverageCurrentRecordRegion = 4,
  lumImageAverageCurrentRecordAll = -1,
};
enum LumImageAverageLastRunRecordConstants : LONG {
  lumImageAverageLastRunRecordNone = 0,
  lumImageAverageLastRunRecordAverageImage = 2,
  lumImageAverageLastRunRecordStandardDeviationImage = 4,
  lumImageAverageLastRunRecordAll = -1,
};
enum LumImageAverageLastRunRecordDiagConstants : LONG {
  lumImageAverageLastRunRecordDiagNone = 0,
  lumImageAverageLastRunRecordDiagInputImageByReference = 1,
  lumImageAverageLastRunRecordDiagInputImageDeepCopy = 4,
  lumImageAverageLastRunRecordDiagRegion = 16,
  lumImageAverageLastRunRecordDiagTransformedRegionPixels = 32,
  lumImageAverageLastRunRecordDiagAll = -1,
};

enum LumImageAverageToolStateIDs : int32_t {
  lumImageAverageTool_RunStatus = lumIPTool_RunStatus,
  lumImageAverageTool_ToolName = lumIPTool_ToolName,
  lumImageAverageTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumImageAverageTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumImageAverageTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumImageAverageTool_InputImage = 17047566,
  lumImageAverageTool_Region = 17047567,
  lumImageAverageTool_RunParams = 17047568,
  lumImageAverageTool_AverageImage = 17047569,
  lumImageAverageTool_StandardDeviationImage = 17047570,
};

LUM_INTERFACE_ID(ILumImageAverageTool, ILumIPTool, IID_ILumImageAverageTool);
struct LUM_VISIBLE ILumImageAverageTool : ILumIPTool {
  // 8-bit grey; stores the reference as given.
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // None: the whole image.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
  // The operator Run adds to.
  virtual HRESULT get_RunParams(ILumImageAverage** params) = 0;
  virtual HRESULT putref_RunParams(ILumImageAverage* params) = 0;
  // The images of the last run; none before a run or after a failed one.
  virtual HRESULT get_AverageImage(ILumImage** image) = 0;
  virtual HRESULT get_StandardDeviationImage(ILumImage** image) = 0;
};
