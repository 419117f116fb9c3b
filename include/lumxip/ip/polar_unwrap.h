#pragma once
// Unwrapping an annulus section of an image into an upright image (x along the angular
// span, y along the radial direction): the operator LumPolarUnwrap, with the point
// mappings between input and output, and the tool LumPolarUnwrapTool.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumPolarUnwrapSamplingModeConstants : LONG {
  lumPolarUnwrapSamplingModeBilinearInterpolation = 0,
  lumPolarUnwrapSamplingModeNearestNeighbor = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kPolarUnwrapSamplingModeNames[] = {
    L"lumPolarUnwrapSamplingModeBilinearInterpolation",
    L"lumPolarUnwrapSamplingModeNearestNeighbor"};

// clang-format off
#define LUM_POLAR_UNWRAP_PROPERTIES(P, x)                                                          \
  P(x, rw, ScalingX, double, 17010689, 1.0, greaterThan(0.0, L"0"),                               \
    "Output pixels per input pixel along the middle arc")                                        \
  P(x, rw, ScalingY, double, 17010690, 1.0, greaterThan(0.0, L"0"),                               \
    "Output pixels per input pixel across the ring")                                             \
  P(x, rw, SamplingMode, LumPolarUnwrapSamplingModeConstants, 17010691,                           \
    lumPolarUnwrapSamplingModeBilinearInterpolation,                                              \
    enumRange(lumPolarUnwrapSamplingModeBilinearInterpolation,                                    \
              lumPolarUnwrapSamplingModeNearestNeighbor,                                          \
              kPolarUnwrapSamplingModeNames),                                                     \
    "How a sample is taken: bilinear interpolation or the nearest pixel")
// clang-format on

inline constexpr DISPID DISPID_LumPolarUnwrap_Execute = 17010692;
inline constexpr DISPID DISPID_LumPolarUnwrap_GetInputPointFromOutputPoint = 17010693;
inline constexpr DISPID DISPID_LumPolarUnwrap_GetOutputPointFromInputPoint = 17010694;

LUM_INTERFACE_ID(ILumPolarUnwrapParams, IDispatch, IID_ILumPolarUnwrapParams);
struct LUM_VISIBLE ILumPolarUnwrapParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_POLAR_UNWRAP_PROPERTIES)
};

LUM_INTERFACE_ID(ILumPolarUnwrap, ILumPolarUnwrapParams, IID_ILumPolarUnwrap);
struct LUM_VISIBLE ILumPolarUnwrap : ILumPolarUnwrapParams {
  // The section of an 8-bit grey, 16-bit grey or planar colour image that `region` (an
  // elliptical annulus section) covers, unwrapped.
  virtual HRESULT Execute(ILumImage* input, ILumRegion* region, ILumImage** output) = 0;
  // The point of the region's space that output point (x, y) was sampled from.
  virtual HRESULT GetInputPointFromOutputPoint(ILumImage* input, ILumRegion* region, double outputX,
                                               double outputY, double* inputX, double* inputY) = 0;
  // The output point of a point of the region's space; the output repeats along x every
  // full turn, and `revolution` (an integer, optional) picks the period.
  virtual HRESULT GetOutputPointFromInputPoint(ILumImage* input, ILumRegion* region, double inputX,
                                               double inputY, VARIANT revolution, double* outputX,
                                               double* outputY) = 0;
};

enum LumPolarUnwrapStateIDs : int32_t {
  LUM_STATE_IDS(LUM_POLAR_UNWRAP_PROPERTIES, lumPolarUnwrap_)
};

enum LumPolarUnwrapCurrentRecordConstants : LONG {
  lumPolarUnwrapCurrentRecordNone = 0,
  lumPolarUnwrapCurrentRecordInputImage = 1,
  lumPolarUnwrapCurrentRecordRegion = 2,
  lumPolarUnwrapCurrentRecordAll = -1,
};
enum LumPolarUnwrapLastRunRecordConstants : LONG {
  lumPolarUnwrapLastRunRecordNone = 0,
  lumPolarUnwrapLastRunRecordOutputImage = 1,
  lumPolarUnwrapLastRunRecordAll = -1,
};
enum LumPolarUnwrapLastRunRecordDiagConstants : LONG {
  lumPolarUnwrapLastRunRecordDiagNone = 0,
  lumPolarUnwrapLastRunRecordDiagInputImageByReference = 1,
  lumPolarUnwrapLastRunRecordDiagInputImageDeepCopy = 4,
  lumPolarUnwrapLastRunRecordDiagRegion = 8,
  lumPolarUnwrapLastRunRecordDiagAll = -1,
};

enum LumPolarUnwrapToolStateIDs : int32_t {
  lumPolarUnwrapTool_RunStatus = lumIPTool_RunStatus,
  lumPolarUnwrapTool_ToolName = lumIPTool_ToolName,
  lumPolarUnwrapTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumPolarUnwrapTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumPolarUnwrapTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumPolarUnwrapTool_InputImage = 17010699,
  lumPolarUnwrapTool_Region = 17010700,
  lumPolarUnwrapTool_RunParams = 17010701,
  lumPolarUnwrapTool_OutputImage = 17010702,
};

LUM_INTERFACE_ID(ILumPolarUnwrapTool, ILumIPTool, IID_ILumPolarUnwrapTool);
struct LUM_VISIBLE ILumPolarUnwrapTool : ILumIPTool {
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // An elliptical annulus section.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
  virtual HRESULT get_RunParams(ILumPolarUnwrap** params) = 0;
  virtual HRESULT putref_RunParams(ILumPolarUnwrap* params) = 0;
  // The last run's image; none before a run or after a failed one.
  virtual HRESULT get_OutputImage(ILumImage** image) = 0;
};
