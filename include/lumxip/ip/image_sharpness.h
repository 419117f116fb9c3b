#pragma once
// Sharpness of 8-bit grey images, for focusing: the operator LumImageSharpness scores an
// image within a region by one of four measures (a larger score is sharper), and
// LumImageSharpnessTool runs it on its input image and keeps the score.

#include "lumxip/ip/tool.h"
#include "lumxip/property_lists.h"

enum LumImageSharpnessModeConstants : LONG {
  lumImageSharpnessModeAutoCorrelation = 1,  // 1000 less the strongest neighbour correlation
  lumImageSharpnessModeAbsDiff = 2,          // mean absolute difference to shifted copies
  lumImageSharpnessModeBandPass = 4,         // spectral energy within a frequency band
  lumImageSharpnessModeGradientEnergy = 8,   // mean squared gradient over squared mean
};

// The modes' names from bit 0 on, for descriptions and setting a mode by name.
inline constexpr const wchar_t* kImageSharpnessModeNames[] = {
    L"lumImageSharpnessModeAutoCorrelation", L"lumImageSharpnessModeAbsDiff",
    L"lumImageSharpnessModeBandPass", L"lumImageSharpnessModeGradientEnergy"};

enum LumFAs_ImageSharpness : LONG {
  lumFA_ImageSharpness_BandPassFrequencies = 2,  // raised with either band-pass frequency
};

// clang-format off
#define LUM_IMAGE_SHARPNESS_PROPERTIES(P, x)                                                      \
  P(x, rw, Mode, LumImageSharpnessModeConstants, 17022977, lumImageSharpnessModeBandPass,        \
    singleBitOf(lumImageSharpnessModeGradientEnergy, kImageSharpnessModeNames),                  \
    "The measure scored")                                                                        \
  P(x, rw, AbsDiffDistanceX, LONG, 17022978, 1, atLeast<LONG>(0),                                \
    "Columns between the pixels the absolute difference compares")                               \
  P(x, rw, AbsDiffDistanceY, LONG, 17022979, 1, atLeast<LONG>(0),                                \
    "Rows between the pixels the absolute difference compares")                                  \
  P(x, rw, BandPassMaxFrequency, double, 17022981, 0.45, inRange(0.0, 0.5, L"0", L"0.5"),       \
    "Upper band-pass frequency, cycles per pixel; below the lower one it takes that along")     \
  P(x, rw, BandPassMinFrequency, double, 17022980, 0.25, inRange(0.0, 0.5, L"0", L"0.5"),       \
    "Lower band-pass frequency, cycles per pixel; above the upper one it takes that along")     \
  P(x, rw, AutoCorrelationNoiseLevel, double, 17023014, 0.0, atLeast(0.0),                       \
    "Grey levels of noise the autocorrelation discounts")                                        \
  P(x, rw, GradientEnergyLowPassSmoothing, LONG, 17023015, 0, inRange<LONG>(0, 2, L"0", L"2"),  \
    "Standard deviation of the smoothing before the gradient energy; 0 none")
// clang-format on

inline constexpr DISPID DISPID_LumImageSharpness_Execute = 17022982;

LUM_INTERFACE_ID(ILumImageSharpnessParams, IDispatch, IID_ILumImageSharpnessParams);
struct LUM_VISIBLE ILumImageSharpnessParams : IDispatch {
  LUM_INTERFACE_PROPERTIES(LUM_IMAGE_SHARPNESS_PROPERTIES)
};

LUM_INTERFACE_ID(ILumImageSharpness, ILumImageSharpnessParams, IID_ILumImageSharpness);
struct LUM_VISIBLE ILumImageSharpness : ILumImageSharpnessParams {
  // The score of an 8-bit grey image within the bounding box of `region` (optional).
  virtual HRESULT Execute(ILumImage* input, ILumRegion* region, double* score) = 0;
};

enum LumImageSharpnessStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IMAGE_SHARPNESS_PROPERTIES, lumImageSharpness_)
};

enum LumImageSharpnessCurrentRecordConstants : LONG {
  lumImageSharpnessCurrentRecordNone = 0,
  lumImageSharpnessCurrentRecordInputImage = 2,
  lumImageSharpnessCurrentRecordRegion = 4,
  lumImageSharpnessCurrentRecordAll = -1,
};
enum LumImageSharpnessLastRunRecordConstants : LONG {
  lumImageSharpnessLastRunRecordNone = 0,
  lumImageSharpnessLastRunRecordAll = -1,
};
enum LumImageSharpnessLastRunRecordDiagConstants : LONG {
  lumImageSharpnessLastRunRecordDiagNone = 0,
  lumImageSharpnessLastRunRecordDiagInputImageByReference = 1,
  lumImageSharpnessLastRunRecordDiagInputImageDeepCopy = 4,
  lumImageSharpnessLastRunRecordDiagRegion = 8,
  lumImageSharpnessLastRunRecordDiagAll = -1,
};

enum LumImageSharpnessToolStateIDs : int32_t {
  lumImageSharpnessTool_RunStatus = lumIPTool_RunStatus,
  lumImageSharpnessTool_ToolName = lumIPTool_ToolName,
  lumImageSharpnessTool_LastRunRecordEnable = lumIPTool_LastRunRecordEnable,
  lumImageSharpnessTool_LastRunRecordDiagEnable = lumIPTool_LastRunRecordDiagEnable,
  lumImageSharpnessTool_CurrentRecordEnable = lumIPTool_CurrentRecordEnable,
  lumImageSharpnessTool_InputImage = 17022992,
  lumImageSharpnessTool_RunParams = 17022993,
  lumImageSharpnessTool_Region = 17022994,
  lumImageSharpnessTool_Score = 17022995,
};

LUM_INTERFACE_ID(ILumImageSharpnessTool, ILumIPTool, IID_ILumImageSharpnessTool);
struct LUM_VISIBLE ILumImageSharpnessTool : ILumIPTool {
  // 8-bit grey; stores the reference as given.
  virtual HRESULT get_InputImage(ILumImage** image) = 0;
  virtual HRESULT putref_InputImage(ILumImage* image) = 0;
  // The operator Run executes.
  virtual HRESULT get_RunParams(ILumImageSharpness** params) = 0;
  virtual HRESULT putref_RunParams(ILumImageSharpness* params) = 0;
  // None: the whole image.
  virtual HRESULT get_Region(ILumRegion** region) = 0;
  virtual HRESULT putref_Region(ILumRegion* region) = 0;
  // The last run's score; 0 before a run or after a failed one.
  virtual HRESULT get_Score(double* score) = 0;
};
