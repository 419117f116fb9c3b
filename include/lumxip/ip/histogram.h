#pragma once
// Histograms of 8-bit and 16-bit grey images: the operator LumHistogram, whose Execute
// counts the grey values within a region and a care mask and gives a LumHistogramResult
// (the bin counts and their statistics), and LumHistogramTool, which runs it on its
// input image and region.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumHistogramBinModeConstants : LONG {
  lumHistogramBinModeCompatibility = 1,  // NumBins counting bins, larger values in the last
  lumHistogramBinModeUniform = 2,        // the pixel range counted, then NumBins wider bins
  lumHistogramBinModeAuto = 3,           // one bin per value of the pixel range
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kHistogramBinModeNames[] = {
    L"lumHistogramBinModeCompatibility", L"lumHistogramBinModeUniform", L"lumHistogramBinModeAuto"};

enum LumHistogramResultGraphicConstants : LONG {
  lumHistogramResultGraphicNone = 0,
  lumHistogramResultGraphicTipText = 1,
  lumHistogramResultGraphicAxes = 2,
  lumHistogramResultGraphicHistogram = 16,
  lumHistogramResultGraphicCumulativeHistogram = 32,
  lumHistogramResultGraphicMean = 64,
  lumHistogramResultGraphicMedian = 128,
  lumHistogramResultGraphicAll = -1,
};

// clang-format off
#define LUM_HISTOGRAM_REGION_PROPERTIES(P, x)                                                      \
  P(x, rw, RegionMode, LumRegionModeConstants, 16863801,                                         \
    lumRegionModePixelAlignedBoundingBoxAdjustMask,                                              \
    namedPair(lumRegionModePixelAlignedBoundingBoxAdjustMask,                                    \
              L"lumRegionModePixelAlignedBoundingBoxAdjustMask",                                 \
              lumRegionModePixelAlignedBoundingBox, L"lumRegionModePixelAlignedBoundingBox"),    \
    "Whether the region's shape masks the pixels or only its bounding box limits them")

#define LUM_HISTOGRAM_COUNT_PROPERTIES(P, x)                                                       \
  P(x, rw, NumBins, LONG, 16863802, 256, atLeast<LONG>(1),                                       \
    "Number of bins in the compatibility and uniform bin modes")                                 \
  P(x, ref, InputImageMask, ILumImage, 16863809, nullptr, lcNoCheck{},                           \
    "8-bit care mask: only pixels under its non-zero pixels count; none counts all")            \
  P(x, rw, InputImageMaskOffsetX, LONG, 16863810, 0, lcNoCheck{},                                \
    "Column of the input image on which the mask's first column lies")                           \
  P(x, rw, InputImageMaskOffsetY, LONG, 16863811, 0, lcNoCheck{},                                \
    "Row of the input image on which the mask's first row lies")

#define LUM_HISTOGRAM_BIN_PROPERTIES(P, x)                                                         \
  P(x, rw, BinMode, LumHistogramBinModeConstants, 16863267, lumHistogramBinModeAuto,             \
    enumRange(lumHistogramBinModeCompatibility, lumHistogramBinModeAuto,                         \
              kHistogramBinModeNames),                                                           \
    "How the pixel values are spread over the bins")

#define LUM_HISTOGRAM_PROPERTIES(P, x)                                                             \
  LUM_HISTOGRAM_REGION_PROPERTIES(P, x)                                                          \
  LUM_HISTOGRAM_COUNT_PROPERTIES(P, x)                                                           \
  LUM_HISTOGRAM_BIN_PROPERTIES(P, x)

#define LUM_HISTOGRAM_RESULT_PROPERTIES(P, x)                                                      \
  P(x, ro, Histogram, VARIANT, 16863822, nullptr, lcNoCheck{},                                   \
    "The bin counts, an array of 32-bit integers from index 0")                                  \
  P(x, ro, NumSamples, LONG, 16863823, 0, lcNoCheck{}, "Number of pixels counted")               \
  P(x, ro, Mean, double, 16863824, 0.0, lcNoCheck{}, "Mean bin index of the counted pixels")     \
  P(x, ro, Mode, LONG, 16863825, 0, lcNoCheck{}, "Lowest bin of the largest count")              \
  P(x, ro, Median, LONG, 16863826, 0, lcNoCheck{},                                               \
    "Lowest bin whose cumulative share exceeds one half")                                        \
  P(x, ro, Minimum, LONG, 16863827, 0, lcNoCheck{}, "Lowest non-empty bin")                      \
  P(x, ro, Maximum, LONG, 16863828, 0, lcNoCheck{}, "Highest non-empty bin")                     \
  P(x, ro, StandardDeviation, double, 16863829, 0.0, lcNoCheck{},                                \
    "Square root of the variance")                                                               \
  P(x, ro, Variance, double, 16863830, 0.0, lcNoCheck{},                                         \
    "Sample variance of the bin indices (divided by the count less one)")
// clang-format on

inline constexpr DISPID DISPID_LumHistogram_Execute = 16863812;
inline constexpr DISPID DISPID_LumHistogramResult_GetInverseCumulativeGreyLevel = 16863831;
inline constexpr DISPID DISPID_LumHistogramResult_CreateResultGraphics = 16863832;

LUM_INTERFACE_ID(ILumHistogramResult, IDispatch, IID_ILumHistogramResult);
struct LUM_VISIBLE ILumHistogramResult : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_HISTOGRAM_RESULT_PROPERTIES)
  // The lowest bin whose cumulative share exceeds `percent` (0..100) percent; 100 gives
  // the highest non-empty bin.
  virtual HRESULT GetInverseCumulativeGreyLevel(LONG percent, LONG* bin) = 0;
  // The histogram drawn as a graphic collection, with the parts `options` selects.
  virtual HRESULT CreateResultGraphics(LONG options, IDispatch** graphics) = 0;
};

LUM_INTERFACE_ID(ILumHistogramParams, IDispatch, IID_ILumHistogramParams);
struct LUM_VISIBLE ILumHistogramParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_HISTOGRAM_PROPERTIES)
};

LUM_INTERFACE_ID(ILumHistogram, ILumHistogramParams, IID_ILumHistogram);
struct LUM_VISIBLE ILumHistogram : ILumHistogramParams {
  // The histogram of an 8-bit or 16-bit grey image within `region` (optional; none: the
  // whole image) and the care mask.
  virtual HRESULT Execute(ILumImage* input, ILumRegion* region, ILumHistogramResult** result) = 0;
};

enum LumHistogramStateIDs : int32_t { LUM_STATE_IDS(LUM_HISTOGRAM_PROPERTIES, lumHistogram_) };
enum LumHistogramResultStateIDs : int32_t {
  LUM_STATE_IDS(LUM_HISTOGRAM_RESULT_PROPERTIES, lumHistogramResult_)
};

enum LumHistogramCurrentRecordConstants : LONG {
  lumHistogramCurrentRecordNone = 0,
  lumHistogramCurrentRecordInputImage = 1,
  lumHistogramCurrentRecordRegion = 2,
  lumHistogramCurrentRecordInputImageMask = 8,
  lumHistogramCurrentRecordAll = -1,
};
enum LumHistogramLastRunRecordConstants : LONG {
  lumHistogramLastRunRecordNone = 0,
  lumHistogramLastRunRecordHistogram = 1,
  lumHistogramLastRunRecordCumulativeHistogram = 2,
  lumHistogramLastRunRecordMean = 4,
  lumHistogramLastRunRecordMedian = 8,
  lumHistogramLastRunRecordAll = -1,
};
enum LumHistogramLastRunRecordDiagConstants : LONG {
  lumHistogramLastRunRecordDiagNone = 0,
  lumHistogramLastRunRecordDiagInputImageByReference = 1,
  lumHistogramLastRunRecordDiagInputImageDeepCopy = 4,
  lumHistogramLastRunRecordDiagRegion = 256,
  lumHistogramLastRunRecordDiagInputImageMask = 4096,
  lumHistogramLastRunRecordDiagAll = -1,
};

enum LumHistogramToolStateIDs : int32_t {
  lumHistogramTool_RunStatus = lumIPTool_RunStatus,
  lumHistogramTool_ToolName = lumIPTool_ToolName,
  lumHistogramTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumHistogramTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumHistogramTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumHistogramTool_InputImage = 16863790,
  lumHistogramTool_Result = 16863791,
  lumHistogramTool_RunParams = 16863798,
  lumHistogramTool_Region = 16863792,
};

LUM_INTERFACE_ID(ILumHistogramTool, ILumIPTool, IID_ILumHistogramTool);
struct LUM_VISIBLE ILumHistogramTool : ILumIPTool {
  // 8-bit or 16-bit grey; stores the reference as given.
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // The last run's result; none before a run or after a failed one.
  virtual HRESULT get_Result(ILumHistogramResult** result) = 0;
  // The operator Run executes.
  virtual HRESULT get_RunParams(ILumHistogramParams** params) = 0;
  virtual HRESULT putref_RunParams(ILumHistogramParams* params) = 0;
  // None: the whole image.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
};
