#pragma once
// The sampling operators, which change an image's size and place the result over the
// same client area at another pixel scale: LumIPOneImageSubSampler (whole factors,
// picking or averaging), LumIPOneImageExpand (replication), LumIPOneImageGaussSampler
// (Gaussian smoothing, then sub-sampling) and LumIPOneImageSampleConvolve (separable
// one-dimensional kernels at real sample rates).

#include "lumxip/ip/one_image.h"

enum LumIPOneImageGaussSamplerImageFormatConstants : LONG {
  lumIPOneImageGaussSamplerImageFormatSameAsInputImage = 0,
  lumIPOneImageGaussSamplerImageFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageGaussSamplerImageFormatNames[] = {
    L"lumIPOneImageGaussSamplerImageFormatSameAsInputImage",
    L"lumIPOneImageGaussSamplerImageFormat8Grey"};

enum LumFAs_IPOneImageSampleConvolve : LONG {
  lumFA_IPOneImageSampleConvolve_KernelXSize = 2,
  lumFA_IPOneImageSampleConvolve_KernelYSize = 4,
  lumFA_IPOneImageSampleConvolve_SetGaussSample = 8,
  lumFA_IPOneImageSampleConvolve_SetGaussSigma = 16,
};

// clang-format off
#define LUM_IP_SUB_SAMPLER_PROPERTIES(P, x)                                                      \
  P(x, rw, SampleX, LONG, 16863597, 1, greaterThan<LONG>(0, L"0"),                               \
    "Columns per block; each block gives one output pixel")                                     \
  P(x, rw, SampleY, LONG, 16863598, 1, greaterThan<LONG>(0, L"0"),                               \
    "Rows per block; each block gives one output pixel")                                        \
  P(x, flag, SpatialAverage, VARIANT_BOOL, 16863599, false, lcNoCheck{},                          \
    "True: the block's mean; false: its most central pixel")

#define LUM_IP_EXPAND_PROPERTIES(P, x)                                                           \
  P(x, rw, ExpansionX, LONG, 16863589, 1, notBelow<LONG>(1, L"1"),                               \
    "How many output columns each pixel fills")                                                 \
  P(x, rw, ExpansionY, LONG, 16863590, 1, notBelow<LONG>(1, L"1"),                               \
    "How many output rows each pixel fills")

#define LUM_IP_GAUSS_SAMPLER_PROPERTIES(P, x)                                                    \
  P(x, rw, SampleX, LONG, 16863603, 1, greaterThan<LONG>(0, L"0"),                               \
    "Every SampleX-th smoothed column is kept")                                                 \
  P(x, rw, SampleY, LONG, 16863604, 1, greaterThan<LONG>(0, L"0"),                               \
    "Every SampleY-th smoothed row is kept")                                                    \
  P(x, rw, SmoothnessX, LONG, 16863605, 2, notBelow<LONG>(0, L"0"),                              \
    "Width of the smoothing across: sigma = sqrt(s (s + 2)) / 2; 0 smooths nothing")            \
  P(x, rw, SmoothnessY, LONG, 16863606, 2, notBelow<LONG>(0, L"0"),                              \
    "Height of the smoothing down: sigma = sqrt(s (s + 2)) / 2; 0 smooths nothing")             \
  P(x, hidden, ScaleFactor, double, 0, 1.0, lcPowerOfTwoFactor{},                                \
    "2^MagnitudeShift, the factor applied to the smoothed values")                              \
  P(x, computed, SigmaX, double, 16863608, 0, lcNoCheck{}, "Standard deviation across")         \
  P(x, computed, SigmaY, double, 16863609, 0, lcNoCheck{}, "Standard deviation down")           \
  P(x, rw, OutputImageFormat, LumIPOneImageGaussSamplerImageFormatConstants, 16863660,           \
    lumIPOneImageGaussSamplerImageFormatSameAsInputImage,                                        \
    enumRange(lumIPOneImageGaussSamplerImageFormatSameAsInputImage,                              \
              lumIPOneImageGaussSamplerImageFormat8Grey,                                         \
              kIPOneImageGaussSamplerImageFormatNames),                                          \
    "Stored and saved; the output always has the input's format")

#define LUM_IP_SAMPLE_CONVOLVE_PROPERTIES(P, x)                                                  \
  P(x, rw, SampleX, double, 16863303, 1.0, greaterThan(0.0, L"0"),                               \
    "Input columns from one output pixel to the next; fractions allowed")                      \
  P(x, rw, SampleY, double, 16863304, 1.0, greaterThan(0.0, L"0"),                               \
    "Input rows from one output pixel to the next; fractions allowed")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageSubSampler, ILumIPOneImageOperator, IID_ILumIPOneImageSubSampler);
struct LUM_VISIBLE ILumIPOneImageSubSampler : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_SUB_SAMPLER_PROPERTIES)
};
enum LumIPOneImageSubSamplerStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_SUB_SAMPLER_PROPERTIES, lumIPOneImageSubSampler_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageSubSampler_)
};

LUM_INTERFACE_ID(ILumIPOneImageExpand, ILumIPOneImageOperator, IID_ILumIPOneImageExpand);
struct LUM_VISIBLE ILumIPOneImageExpand : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_EXPAND_PROPERTIES)
};
enum LumIPOneImageExpandStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_EXPAND_PROPERTIES, lumIPOneImageExpand_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageExpand_)
};

LUM_INTERFACE_ID(ILumIPOneImageGaussSampler, ILumIPOneImageOperator,
                 IID_ILumIPOneImageGaussSampler);
struct LUM_VISIBLE ILumIPOneImageGaussSampler : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_GAUSS_SAMPLER_PROPERTIES)
  // -7 to 7: the smoothed values are multiplied by 2^shift (kept as that factor).
  virtual HRESULT get_MagnitudeShift(LONG* shift) = 0;
  virtual HRESULT put_MagnitudeShift(LONG shift) = 0;
};
enum LumIPOneImageGaussSamplerStateIDs : int32_t {
  lumIPOneImageGaussSampler_MagnitudeShift = 16863607,
  LUM_STATE_IDS(LUM_IP_GAUSS_SAMPLER_PROPERTIES, lumIPOneImageGaussSampler_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageGaussSampler_)
};

LUM_INTERFACE_ID(ILumIPOneImageSampleConvolve, ILumIPOneImageOperator,
                 IID_ILumIPOneImageSampleConvolve);
struct LUM_VISIBLE ILumIPOneImageSampleConvolve : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_SAMPLE_CONVOLVE_PROPERTIES)
  // Odd, 1 to 127; growing a kernel appends weights of 0.
  virtual HRESULT get_KernelXSize(LONG* size) = 0;
  virtual HRESULT put_KernelXSize(LONG size) = 0;
  virtual HRESULT get_KernelYSize(LONG* size) = 0;
  virtual HRESULT put_KernelYSize(LONG size) = 0;
  // Weights by index from 0, each -128 to 128.
  virtual HRESULT GetKernelXValue(LONG index, LONG* value) = 0;
  virtual HRESULT SetKernelXValue(LONG index, LONG value) = 0;
  virtual HRESULT GetKernelYValue(LONG index, LONG* value) = 0;
  virtual HRESULT SetKernelYValue(LONG index, LONG value) = 0;
  // Both kernels become Gaussians fit for sampling at these rates, which become SampleX
  // and SampleY.
  virtual HRESULT SetGaussSample(double sampleX, double sampleY) = 0;
  // Both kernels become Gaussians of these standard deviations; the rates stay.
  virtual HRESULT SetGaussSigma(double sigmaX, double sigmaY) = 0;
};
enum LumIPOneImageSampleConvolveStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_SAMPLE_CONVOLVE_PROPERTIES, lumIPOneImageSampleConvolve_)
      lumIPOneImageSampleConvolve_KernelXSize = 16863305,
  lumIPOneImageSampleConvolve_KernelYSize = 16863306,
  lumIPOneImageSampleConvolve_GetKernelXValue = 16863307,
  lumIPOneImageSampleConvolve_GetKernelYValue = 16863308,
  LUM_OPERATOR_STATE_IDS(lumIPOneImageSampleConvolve_)
};
