#pragma once
// Convolution filters of 8-bit pixels (colour plane by plane): a 3 x 3 kernel of nine
// weights, an N x M kernel of any odd size, and the high-pass filter (the image less its
// Gaussian smoothing, plus 128).

#include "lumxip/ip/one_image.h"
#include "lumxip/ip/result_codes.h"

enum LumIPOneImageConvolve3x3PositionConstants : LONG {
  lumIPOneImageConvolve3x3PositionNorthWest = 0,
  lumIPOneImageConvolve3x3PositionNorth = 1,
  lumIPOneImageConvolve3x3PositionNorthEast = 2,
  lumIPOneImageConvolve3x3PositionWest = 3,
  lumIPOneImageConvolve3x3PositionCenter = 4,
  lumIPOneImageConvolve3x3PositionEast = 5,
  lumIPOneImageConvolve3x3PositionSouthWest = 6,
  lumIPOneImageConvolve3x3PositionSouth = 7,
  lumIPOneImageConvolve3x3PositionSouthEast = 8,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageConvolve3x3PositionNames[] = {
    L"lumIPOneImageConvolve3x3PositionNorthWest", L"lumIPOneImageConvolve3x3PositionNorth",
    L"lumIPOneImageConvolve3x3PositionNorthEast", L"lumIPOneImageConvolve3x3PositionWest",
    L"lumIPOneImageConvolve3x3PositionCenter",    L"lumIPOneImageConvolve3x3PositionEast",
    L"lumIPOneImageConvolve3x3PositionSouthWest", L"lumIPOneImageConvolve3x3PositionSouth",
    L"lumIPOneImageConvolve3x3PositionSouthEast"};

enum LumIPOneImageConvolve3x3ImageFormatConstants : LONG {
  lumIPOneImageConvolve3x3ImageFormatSameAsInputImage = 0,
  lumIPOneImageConvolve3x3ImageFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageConvolve3x3ImageFormatNames[] = {
    L"lumIPOneImageConvolve3x3ImageFormatSameAsInputImage",
    L"lumIPOneImageConvolve3x3ImageFormat8Grey"};

enum LumIPOneImageBoundaryModeConstants : LONG {
  lumIPOneImageBoundaryModeClipped = 1,
  lumIPOneImageBoundaryModeReflected = 2,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageBoundaryModeNames[] = {
    L"lumIPOneImageBoundaryModeClipped", L"lumIPOneImageBoundaryModeReflected"};

enum LumFAs_IPOneImageConvolveNxM : LONG {
  lumFA_IPOneImageConvolveNxM_Width = 2,
  lumFA_IPOneImageConvolveNxM_Height = 4,
};
enum LumIPOneImageHighPassFilterImageFormatConstants : LONG {
  lumIPOneImageHighPassFilterImageFormatSameAsInputImage = 0,
  lumIPOneImageHighPassFilterImageFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageHighPassFilterImageFormatNames[] = {
    L"lumIPOneImageHighPassFilterImageFormatSameAsInputImage",
    L"lumIPOneImageHighPassFilterImageFormat8Grey"};

// clang-format off
#define LUM_DETAIL_WEIGHT(P, x, Name, where) \
  P(x, hidden, Kernel##Name, double, 0, 1.0 / 9, lcNoCheck{}, "Weight of the " where " pixel")
#define LUM_IP_CONVOLVE_3X3_PROPERTIES(P, x)                                                     \
  LUM_DETAIL_WEIGHT(P, x, NorthWest, "north-west") LUM_DETAIL_WEIGHT(P, x, North, "north")        \
  LUM_DETAIL_WEIGHT(P, x, NorthEast, "north-east") LUM_DETAIL_WEIGHT(P, x, West, "west")          \
  LUM_DETAIL_WEIGHT(P, x, Center, "centre") LUM_DETAIL_WEIGHT(P, x, East, "east")                 \
  LUM_DETAIL_WEIGHT(P, x, SouthWest, "south-west") LUM_DETAIL_WEIGHT(P, x, South, "south")        \
  LUM_DETAIL_WEIGHT(P, x, SouthEast, "south-east")                                               \
  P(x, rw, KernelOrigin, LumIPOneImageConvolve3x3PositionConstants, 16864002,                    \
    lumIPOneImageConvolve3x3PositionCenter,                                                      \
    enumRange(lumIPOneImageConvolve3x3PositionNorthWest,                                         \
              lumIPOneImageConvolve3x3PositionSouthEast,                                         \
              kIPOneImageConvolve3x3PositionNames),                                              \
    "Kernel position whose pixel each result replaces")                                          \
  P(x, rw, OutputImageFormat, LumIPOneImageConvolve3x3ImageFormatConstants, 16864003,            \
    lumIPOneImageConvolve3x3ImageFormatSameAsInputImage,                                         \
    enumRange(lumIPOneImageConvolve3x3ImageFormatSameAsInputImage,                               \
              lumIPOneImageConvolve3x3ImageFormat8Grey,                                          \
              kIPOneImageConvolve3x3ImageFormatNames),                                           \
    "Stored and saved; the output always has the input's format")

#define LUM_IP_CONVOLVE_NXM_PROPERTIES(P, x)                                                     \
  P(x, rw, BoundaryMode, LumIPOneImageBoundaryModeConstants, 16863245,                           \
    lumIPOneImageBoundaryModeReflected,                                                          \
    enumRange(lumIPOneImageBoundaryModeClipped, lumIPOneImageBoundaryModeReflected,              \
              kIPOneImageBoundaryModeNames),                                                     \
    "Clipped: results only where the kernel fits; Reflected: the image mirrored at its edges")

#define LUM_IP_HIGH_PASS_FILTER_PROPERTIES(P, x)                                                 \
  P(x, rw, SmoothnessX, LONG, 16863640, 2, atLeast<LONG>(0),                                     \
    "Width of the smoothing across: sigma = sqrt(s (s + 2)) / 2")                                \
  P(x, rw, SmoothnessY, LONG, 16863641, 2, atLeast<LONG>(0),                                     \
    "Height of the smoothing down: sigma = sqrt(s (s + 2)) / 2")                                 \
  P(x, computed, SigmaX, double, 16863643, 0, lcNoCheck{}, "Standard deviation across")         \
  P(x, computed, SigmaY, double, 16863644, 0, lcNoCheck{}, "Standard deviation down")           \
  P(x, rw, OutputImageFormat, LumIPOneImageHighPassFilterImageFormatConstants, 16863661,         \
    lumIPOneImageHighPassFilterImageFormatSameAsInputImage,                                      \
    enumRange(lumIPOneImageHighPassFilterImageFormatSameAsInputImage,                            \
              lumIPOneImageHighPassFilterImageFormat8Grey,                                       \
              kIPOneImageHighPassFilterImageFormatNames),                                        \
    "Stored and saved; the output always has the input's format")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageConvolve3x3, ILumIPOneImageOperator, IID_ILumIPOneImageConvolve3x3);
struct LUM_VISIBLE ILumIPOneImageConvolve3x3 : ILumIPOneImageOperator {
  // The weight at a position (0 to 8, row-major from north-west).
  virtual HRESULT get_KernelValue(LumIPOneImageConvolve3x3PositionConstants position,
                                  double* value) = 0;
  virtual HRESULT put_KernelValue(LumIPOneImageConvolve3x3PositionConstants position,
                                  double value) = 0;
  // The nine weights as a new collection of doubles; put takes exactly nine values.
  virtual HRESULT get_Kernel(ILumCollection** weights) = 0;
  virtual HRESULT put_Kernel(ILumCollection* weights) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_IP_CONVOLVE_3X3_PROPERTIES)
};

enum LumIPOneImageConvolve3x3StateIDs : int32_t {
  lumIPOneImageConvolve3x3_KernelValue = 16864001,
  lumIPOneImageConvolve3x3_Kernel = 16864008,
  LUM_STATE_IDS(LUM_IP_CONVOLVE_3X3_PROPERTIES, lumIPOneImageConvolve3x3_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageConvolve3x3_)
};

LUM_INTERFACE_ID(ILumIPOneImageConvolveNxM, ILumIPOneImageOperator, IID_ILumIPOneImageConvolveNxM);
struct LUM_VISIBLE ILumIPOneImageConvolveNxM : ILumIPOneImageOperator {
  // Odd and positive; a new size keeps the values present before and after, new ones
  // are 1.0.
  virtual HRESULT get_KernelWidth(LONG* width) = 0;
  virtual HRESULT put_KernelWidth(LONG width) = 0;
  virtual HRESULT get_KernelHeight(LONG* height) = 0;
  virtual HRESULT put_KernelHeight(LONG height) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_IP_CONVOLVE_NXM_PROPERTIES)
  virtual HRESULT GetKernelValue(LONG column, LONG row, double* value) = 0;
  virtual HRESULT SetKernelValue(LONG column, LONG row, double value) = 0;
};

enum LumIPOneImageConvolveNxMStateIDs : int32_t {
  lumIPOneImageConvolveNxM_KernelWidth = 16863243,
  lumIPOneImageConvolveNxM_KernelHeight = 16863244,
  lumIPOneImageConvolveNxM_GetKernelValue = 16863246,
  LUM_STATE_IDS(LUM_IP_CONVOLVE_NXM_PROPERTIES, lumIPOneImageConvolveNxM_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageConvolveNxM_)
};

LUM_INTERFACE_ID(ILumIPOneImageHighPassFilter, ILumIPOneImageOperator,
                 IID_ILumIPOneImageHighPassFilter);
struct LUM_VISIBLE ILumIPOneImageHighPassFilter : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_HIGH_PASS_FILTER_PROPERTIES)
};

enum LumIPOneImageHighPassFilterStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_HIGH_PASS_FILTER_PROPERTIES, lumIPOneImageHighPassFilter_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageHighPassFilter_)
};
