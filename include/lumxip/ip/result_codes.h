#pragma once
// This library's own result codes (facility 4, severity error) with their messages, in
// one table: the enumeration below and the message service's texts both come from it.

#include <cstdint>

// clang-format off
#define LUM_IP_RESULT_CODES(X)                                                                    \
  X(NoRegionOverlap, 0x80044100, "The region does not overlap the image.")                        \
  X(PolarUnwrapSamplingXOverflow, 0x80044101, "The polar unwrap sampling overflows in x.")        \
  X(PolarUnwrapSamplingYOverflow, 0x80044102, "The polar unwrap sampling overflows in y.")        \
  X(PolarUnwrapNullRegion, 0x80044103, "The polar unwrap has no region.")                         \
  X(PolarUnwrapInvalidRegion, 0x80044104, "The polar unwrap region is not a valid annulus section.") \
  X(PolarUnwrapInvalidMapPoint, 0x80044105, "The point cannot be mapped through the polar unwrap.") \
  X(PolarUnwrapRegionClipped, 0x80044106, "The polar unwrap region is clipped by the image.")     \
  X(NoDataAvailableToProcess, 0x80044107, "There is no data to process.")                         \
  X(RegionSizeMismatch, 0x80044108, "The region sizes do not match.")                             \
  X(NxMKernelSize, 0x80044109, "The kernel size is not valid.")                                   \
  X(NxMKernelValuesAllZero, 0x8004410A, "All kernel values are zero.")                            \
  X(AffineTransform_ZeroSize, 0x80044200, "The affine transform output has zero size.")           \
  X(AffineTransform_OverSize, 0x80044201, "The affine transform output is too large.")            \
  X(MissingPixel_InvalidDirection, 0x80044300, "The missing-pixel direction is not valid.")       \
  X(MissingPixel_InvalidValueComputation, 0x80044301,                                             \
    "The missing-pixel value computation is not valid.")                                          \
  X(MissingPixel_InvalidGlobalValueMode, 0x80044302,                                              \
    "The missing-pixel global value mode is not valid.")                                          \
  X(MissingPixel_InvalidSmoothing, 0x80044303, "The missing-pixel smoothing is not valid.")       \
  X(MissingPixel_FixedGlobalValueOutsideDstRange, 0x80044304,                                     \
    "The fixed global value lies outside the destination range.")                                 \
  X(MissingPixel_BoundDestRangeImage, 0x80044305, "The destination range image must not be bound.")
// clang-format on

#define LUM_DETAIL_RESULT_CODE(name, code, text) e_LumIP_##name = int32_t(code),
enum LumIPErrConstants : int32_t { LUM_IP_RESULT_CODES(LUM_DETAIL_RESULT_CODE) };
#undef LUM_DETAIL_RESULT_CODE

// Messages of this library that are not result codes.
enum LumIPMsgConstants : int32_t {
  ids_LumIP_OperatorError_2 = int32_t(0x8004020A),  // "%1" the operator's name, "%2" its position
};
