#pragma once
// The type library of this library, HalvexImageProcessing: its identifier, and (as the
// components arrive) their interfaces, enumerations, state identifiers and error
// constants.

#include "lumxip/HalvexCore.h"
#include "lumxip/ip/constant_arithmetic.h"
#include "lumxip/ip/one_image.h"
#include "lumxip/ip/one_image_tool.h"
#include "lumxip/ip/tool.h"

inline constexpr GUID LIBID_HalvexImageProcessing =
    lum::guid("{FD1986F5-29AF-11D3-8550-0050041ADDAF}");

// Result codes of this library's own error space (facility 4, severity error).
enum LumIPErrConstants : int32_t {
  e_LumIP_NoRegionOverlap = int32_t(0x80044100),
  e_LumIP_PolarUnwrapSamplingXOverflow = int32_t(0x80044101),
  e_LumIP_PolarUnwrapSamplingYOverflow = int32_t(0x80044102),
  e_LumIP_PolarUnwrapNullRegion = int32_t(0x80044103),
  e_LumIP_PolarUnwrapInvalidRegion = int32_t(0x80044104),
  e_LumIP_PolarUnwrapInvalidMapPoint = int32_t(0x80044105),
  e_LumIP_PolarUnwrapRegionClipped = int32_t(0x80044106),
  e_LumIP_NoDataAvailableToProcess = int32_t(0x80044107),
  e_LumIP_RegionSizeMismatch = int32_t(0x80044108),
  e_LumIP_NxMKernelSize = int32_t(0x80044109),
  e_LumIP_NxMKernelValuesAllZero = int32_t(0x8004410A),
  e_LumIP_AffineTransform_ZeroSize = int32_t(0x80044200),
  e_LumIP_AffineTransform_OverSize = int32_t(0x80044201),
  e_LumIP_MissingPixel_InvalidDirection = int32_t(0x80044300),
  e_LumIP_MissingPixel_InvalidValueComputation = int32_t(0x80044301),
  e_LumIP_MissingPixel_InvalidGlobalValueMode = int32_t(0x80044302),
  e_LumIP_MissingPixel_InvalidSmoothing = int32_t(0x80044303),
  e_LumIP_MissingPixel_FixedGlobalValueOutsideDstRange = int32_t(0x80044304),
  e_LumIP_MissingPixel_BoundDestRangeImage = int32_t(0x80044305),
};

// Messages of this library that are not result codes.
enum LumIPMsgConstants : int32_t {
  ids_LumIP_OperatorError_2 = int32_t(0x8004020A),  // "%1" the operator's name, "%2" its position
};
