#pragma once
// Median filters: LumIPOneImageMedian3x3 (8-bit grey, a fixed 3 x 3 block) and
// LumIPOneImageMedianNxM (8-bit grey, 16-bit grey and 16-bit range images; an odd
// window whose positions can be switched off, and an optional mask image).
//
// The N x M result keeps the input's window: each result sits on its window's centre,
// and only the window's pixels inside the input, at care positions, under a non-zero
// pixel of the mask image (when one is set) and, in a range image, valid, take part. Of
// an even number of them the lower middle value is taken; where none takes part the
// result is 0, invalid in a range image. Input pixels the mask image does not cover take
// no part.

#include "lumxip/ip/one_image.h"
#include "lumxip/ip/result_codes.h"

enum LumFAs_IPOneImageMedianNxM : LONG {
  lumFA_IPOneImageMedianNxM_Width = 2,
  lumFA_IPOneImageMedianNxM_Height = 4,
};

// clang-format off
#define LUM_IP_MEDIAN_3X3_PROPERTIES(P, x)

#define LUM_IP_MEDIAN_NXM_PROPERTIES(P, x)                                                       \
  P(x, ref, InputImageMask, ILumImage8Grey, 16863269, nullptr, lcNoCheck{},                      \
    "Mask image: its zero pixels take no part; none: every pixel takes part")                   \
  P(x, rw, InputImageMaskOffsetX, LONG, 16863270, 0, lcNoCheck{},                                \
    "Column of the input on which the mask image's first column lies")                          \
  P(x, rw, InputImageMaskOffsetY, LONG, 16863271, 0, lcNoCheck{},                                \
    "Row of the input on which the mask image's first row lies")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageMedian3x3, ILumIPOneImageOperator, IID_ILumIPOneImageMedian3x3);
struct LUM_VISIBLE ILumIPOneImageMedian3x3 : ILumIPOneImageOperator {};

enum LumIPOneImageMedian3x3StateIDs : int32_t { LUM_OPERATOR_STATE_IDS(lumIPOneImageMedian3x3_) };

LUM_INTERFACE_ID(ILumIPOneImageMedianNxM, ILumIPOneImageOperator, IID_ILumIPOneImageMedianNxM);
struct LUM_VISIBLE ILumIPOneImageMedianNxM : ILumIPOneImageOperator {
  // Odd and positive; a new size keeps the positions present before and after, new
  // ones are care.
  virtual HRESULT get_KernelWidth(LONG* width) = 0;
  virtual HRESULT put_KernelWidth(LONG width) = 0;
  virtual HRESULT get_KernelHeight(LONG* height) = 0;
  virtual HRESULT put_KernelHeight(LONG height) = 0;
  // Whether the window position takes part (true: care).
  virtual HRESULT GetMaskValue(LONG column, LONG row, VARIANT_BOOL* care) = 0;
  virtual HRESULT SetMaskValue(LONG column, LONG row, VARIANT_BOOL care) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_IP_MEDIAN_NXM_PROPERTIES)
};

enum LumIPOneImageMedianNxMStateIDs : int32_t {
  lumIPOneImageMedianNxM_KernelWidth = 16863235,
  lumIPOneImageMedianNxM_KernelHeight = 16863236,
  lumIPOneImageMedianNxM_GetMaskValue = 16863237,
  LUM_STATE_IDS(LUM_IP_MEDIAN_NXM_PROPERTIES, lumIPOneImageMedianNxM_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageMedianNxM_)
};
