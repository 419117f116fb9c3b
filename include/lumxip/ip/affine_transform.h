#pragma once
// Straightening an affine rectangle of an image into an upright image: the operator
// LumAffineTransform and the tool LumAffineTransformTool, which runs it on its input
// image and region and keeps the output image and, when asked, its mask.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumAffineTransformSamplingModeConstants : LONG {
  lumAffineTransformSamplingModeBilinearInterpolation = 2,  // separable, 15-bit weights
  lumAffineTransformSamplingModeHighPrecision = 3,          // separable cubic, 4 taps
  lumAffineTransformSamplingModeBilinearAccurate = 4,       // 16-bit weights in both axes
};

// The members' names from value 2 on, for descriptions and setting by name.
inline constexpr const wchar_t* kAffineTransformSamplingModeNames[] = {
    L"lumAffineTransformSamplingModeBilinearInterpolation",
    L"lumAffineTransformSamplingModeHighPrecision",
    L"lumAffineTransformSamplingModeBilinearAccurate"};

enum LumAffineTransformClipModeConstants : LONG {
  lumAffineTransformClipModeZeroes = 0,  // samples outside the image read as 0
  lumAffineTransformClipModeFill = 1,    // pixels touching the outside take the fill value
  lumAffineTransformClipModeError = 2,   // Execute fails when the rectangle is clipped
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kAffineTransformClipModeNames[] = {
    L"lumAffineTransformClipModeZeroes", L"lumAffineTransformClipModeFill",
    L"lumAffineTransformClipModeError"};

// clang-format off
#define LUM_AFFINE_TRANSFORM_PROPERTIES(P, x)                                                      \
  P(x, rw, ScalingX, double, 17027073, 1.0, inRange(0.001, 1000.0, L"0.001", L"1000"),           \
    "Output pixels per input pixel along the rectangle's X side")                                \
  P(x, rw, ScalingY, double, 17027074, 1.0, inRange(0.001, 1000.0, L"0.001", L"1000"),           \
    "Output pixels per input pixel along the rectangle's Y side")                                \
  P(x, rw, SamplingMode, LumAffineTransformSamplingModeConstants, 17027075,                       \
    lumAffineTransformSamplingModeBilinearAccurate,                                               \
    enumRange(lumAffineTransformSamplingModeBilinearInterpolation,                                \
              lumAffineTransformSamplingModeBilinearAccurate,                                     \
              kAffineTransformSamplingModeNames),                                                 \
    "How a sample is interpolated: bilinear, cubic or accurate bilinear")                        \
  P(x, rw, ClipMode, LumAffineTransformClipModeConstants, 17027076,                               \
    lumAffineTransformClipModeZeroes,                                                             \
    enumRange(lumAffineTransformClipModeZeroes, lumAffineTransformClipModeError,                  \
              kAffineTransformClipModeNames),                                                     \
    "What samples outside the image become: zeroes, the fill value, or a failure")               \
  P(x, rw, ClipFillValue, LONG, 17027077, 0, inRange<LONG>(0, 65535, L"0", L"65535"),             \
    "Fill value of grey images; at run time at most the image depth's maximum")                  \
  P(x, rw, ClipFillPlane0Value, LONG, 17027112, 0, inRange<LONG>(0, 255, L"0", L"255"),           \
    "Fill value of a colour image's plane 0")                                                    \
  P(x, rw, ClipFillPlane1Value, LONG, 17027113, 0, inRange<LONG>(0, 255, L"0", L"255"),           \
    "Fill value of a colour image's plane 1")                                                    \
  P(x, rw, ClipFillPlane2Value, LONG, 17027114, 0, inRange<LONG>(0, 255, L"0", L"255"),           \
    "Fill value of a colour image's plane 2")
// clang-format on

inline constexpr DISPID DISPID_LumAffineTransform_Execute = 17027078;

LUM_INTERFACE_ID(ILumAffineTransformParams, IDispatch, IID_ILumAffineTransformParams);
struct LUM_VISIBLE ILumAffineTransformParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_AFFINE_TRANSFORM_PROPERTIES)
};

LUM_INTERFACE_ID(ILumAffineTransform, ILumAffineTransformParams, IID_ILumAffineTransform);
struct LUM_VISIBLE ILumAffineTransform : ILumAffineTransformParams {
  // The part of an 8-bit grey, 16-bit grey or planar colour image that `region` (a
  // rectangle-affine region, or none: the whole image) covers, straightened. The mask
  // (made only when its place is given) is 255 where every sample lay inside the image.
  virtual HRESULT Execute(ILumImage* input, ILumRegion* region, ILumImage** outputMask,
                          ILumImage** output) = 0;
};

enum LumAffineTransformStateIDs : int32_t {
  LUM_STATE_IDS(LUM_AFFINE_TRANSFORM_PROPERTIES, lumAffineTransform_)
};

enum LumAffineTransformCurrentRecordConstants : LONG {
  lumAffineTransformCurrentRecordNone = 0,
  lumAffineTransformCurrentRecordInputImage = 1,
  lumAffineTransformCurrentRecordRegion = 2,
  lumAffineTransformCurrentRecordAll = -1,
};
enum LumAffineTransformLastRunRecordConstants : LONG {
  lumAffineTransformLastRunRecordNone = 0,
  lumAffineTransformLastRunRecordOutputImage = 1,
  lumAffineTransformLastRunRecordOutputImageMask = 2,
  lumAffineTransformLastRunRecordAll = -1,
};
enum LumAffineTransformLastRunRecordDiagConstants : LONG {
  lumAffineTransformLastRunRecordDiagNone = 0,
  lumAffineTransformLastRunRecordDiagInputImageByReference = 1,
  lumAffineTransformLastRunRecordDiagInputImageDeepCopy = 4,
  lumAffineTransformLastRunRecordDiagRegion = 8,
  lumAffineTransformLastRunRecordDiagAll = -1,
};

enum LumAffineTransformToolStateIDs : int32_t {
  lumAffineTransformTool_RunStatus = lumIPTool_RunStatus,
  lumAffineTransformTool_ToolName = lumIPTool_ToolName,
  lumAffineTransformTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumAffineTransformTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumAffineTransformTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumAffineTransformTool_InputImage = 17027088,
  lumAffineTransformTool_Region = 17027089,
  lumAffineTransformTool_RunParams = 17027090,
  lumAffineTransformTool_OutputImage = 17027091,
  lumAffineTransformTool_CreateOutputImageMask = 17027110,
  lumAffineTransformTool_OutputImageMask = 17027111,
};

LUM_INTERFACE_ID(ILumAffineTransformTool, ILumIPTool, IID_ILumAffineTransformTool);
struct LUM_VISIBLE ILumAffineTransformTool : ILumIPTool {
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // A rectangle-affine region; none: the whole image.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
  virtual HRESULT get_RunParams(ILumAffineTransform** params) = 0;
  virtual HRESULT putref_RunParams(ILumAffineTransform* params) = 0;
  virtual HRESULT get_CreateOutputImageMask(VARIANT_BOOL* create) = 0;
  virtual HRESULT put_CreateOutputImageMask(VARIANT_BOOL create) = 0;
  // The last run's images; none before a run or after a failed one.
  virtual HRESULT get_OutputImage(ILumImage** image) = 0;
  virtual HRESULT get_OutputImageMask(ILumImage** image) = 0;
};
