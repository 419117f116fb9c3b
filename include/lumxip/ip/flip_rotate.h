#pragma once
// Two one-image operators that move or repair pixels without arithmetic on their values:
// LumIPOneImageFlipRotate re-orients an image by one of eight right-angle rotations and
// mirrorings on the pixel grid, placing the output so that every pixel keeps its client
// position; LumIPOneImageMissingPixel fills the pixels a 16-bit range image marks as
// missing from their valid neighbours or from a global value.

#include "lumxip/ip/one_image.h"
#include "lumxip/ip/result_codes.h"

// Rotations are clockwise; "flip" exchanges left and right.
enum LumIPOneImageFlipRotateOperationConstants : LONG {
  lumIPOneImageFlipRotateOperationNone = 0,
  lumIPOneImageFlipRotateOperationRotate90Deg = 1,
  lumIPOneImageFlipRotateOperationRotate180Deg = 2,
  lumIPOneImageFlipRotateOperationRotate270Deg = 3,
  lumIPOneImageFlipRotateOperationFlip = 4,
  lumIPOneImageFlipRotateOperationFlipAndRotate90Deg = 5,
  lumIPOneImageFlipRotateOperationFlipAndRotate180Deg = 6,  // a vertical mirror
  lumIPOneImageFlipRotateOperationFlipAndRotate270Deg = 7,  // a transpose
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageFlipRotateOperationNames[] = {
    L"lumIPOneImageFlipRotateOperationNone",
    L"lumIPOneImageFlipRotateOperationRotate90Deg",
    L"lumIPOneImageFlipRotateOperationRotate180Deg",
    L"lumIPOneImageFlipRotateOperationRotate270Deg",
    L"lumIPOneImageFlipRotateOperationFlip",
    L"lumIPOneImageFlipRotateOperationFlipAndRotate90Deg",
    L"lumIPOneImageFlipRotateOperationFlipAndRotate180Deg",
    L"lumIPOneImageFlipRotateOperationFlipAndRotate270Deg"};

enum LumIPOneImageMissingPixelDirectionConstants : LONG {
  lumIPOneImageMissingPixelDirectionHorizontal = 1,
  lumIPOneImageMissingPixelDirectionVertical = 2,
  lumIPOneImageMissingPixelDirectionBoth = 3,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageMissingPixelDirectionNames[] = {
    L"lumIPOneImageMissingPixelDirectionHorizontal", L"lumIPOneImageMissingPixelDirectionVertical",
    L"lumIPOneImageMissingPixelDirectionBoth"};

enum LumIPOneImageMissingPixelValueComputationConstants : LONG {
  lumIPOneImageMissingPixelValueComputationNeighborMinimum = 1,
  lumIPOneImageMissingPixelValueComputationNeighborMaximum = 2,
  lumIPOneImageMissingPixelValueComputationNeighborInterpolation = 3,
  lumIPOneImageMissingPixelValueComputationGlobal = 4,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageMissingPixelValueComputationNames[] = {
    L"lumIPOneImageMissingPixelValueComputationNeighborMinimum",
    L"lumIPOneImageMissingPixelValueComputationNeighborMaximum",
    L"lumIPOneImageMissingPixelValueComputationNeighborInterpolation",
    L"lumIPOneImageMissingPixelValueComputationGlobal"};

enum LumIPOneImageMissingPixelGlobalValueModeConstants : LONG {
  lumIPOneImageMissingPixelGlobalValueModeFixed = 1,
  lumIPOneImageMissingPixelGlobalValueModeImageMinimum = 2,
  lumIPOneImageMissingPixelGlobalValueModeImageMaximum = 3,
  lumIPOneImageMissingPixelGlobalValueModeImageAverage = 4,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageMissingPixelGlobalValueModeNames[] = {
    L"lumIPOneImageMissingPixelGlobalValueModeFixed",
    L"lumIPOneImageMissingPixelGlobalValueModeImageMinimum",
    L"lumIPOneImageMissingPixelGlobalValueModeImageMaximum",
    L"lumIPOneImageMissingPixelGlobalValueModeImageAverage"};

// clang-format off
#define LUM_IP_FLIP_ROTATE_PROPERTIES(P, x)                                                      \
  P(x, rw, OperationInPixelSpace, LumIPOneImageFlipRotateOperationConstants, 16863648,           \
    lumIPOneImageFlipRotateOperationNone,                                                        \
    enumRangeNamed(lumIPOneImageFlipRotateOperationNone,                                         \
                   lumIPOneImageFlipRotateOperationFlipAndRotate270Deg, L"Operation",            \
                   kIPOneImageFlipRotateOperationNames),                                         \
    "Rotation or mirroring done on the pixel grid; saved as \"Operation\"")

#define LUM_IP_MISSING_PIXEL_PROPERTIES(P, x)                                                    \
  P(x, rw, Direction, LumIPOneImageMissingPixelDirectionConstants, 16863291,                     \
    lumIPOneImageMissingPixelDirectionHorizontal,                                                \
    enumRange(lumIPOneImageMissingPixelDirectionHorizontal,                                      \
              lumIPOneImageMissingPixelDirectionBoth,                                            \
              kIPOneImageMissingPixelDirectionNames),                                            \
    "Where the valid neighbours are looked for: the row, the column or both")                   \
  P(x, rw, ValueComputation, LumIPOneImageMissingPixelValueComputationConstants, 16863292,       \
    lumIPOneImageMissingPixelValueComputationNeighborInterpolation,                              \
    enumRange(lumIPOneImageMissingPixelValueComputationNeighborMinimum,                          \
              lumIPOneImageMissingPixelValueComputationGlobal,                                   \
              kIPOneImageMissingPixelValueComputationNames),                                     \
    "How a filled value comes from the neighbours, or the global value everywhere")             \
  P(x, rw, GlobalValueMode, LumIPOneImageMissingPixelGlobalValueModeConstants, 16863293,         \
    lumIPOneImageMissingPixelGlobalValueModeFixed,                                               \
    enumRange(lumIPOneImageMissingPixelGlobalValueModeFixed,                                     \
              lumIPOneImageMissingPixelGlobalValueModeImageAverage,                              \
              kIPOneImageMissingPixelGlobalValueModeNames),                                      \
    "The fixed value, or the minimum, maximum or average of the valid pixels")                  \
  P(x, rw, FixedGlobalValue, LONG, 16863294, 1, notBelow<LONG>(0, L"0"),                         \
    "The global value in fixed mode; must be a pixel value of the output when it runs")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageFlipRotate, ILumIPOneImageOperator, IID_ILumIPOneImageFlipRotate);
struct LUM_VISIBLE ILumIPOneImageFlipRotate : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_FLIP_ROTATE_PROPERTIES)
};

enum LumIPOneImageFlipRotateStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_FLIP_ROTATE_PROPERTIES, lumIPOneImageFlipRotate_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageFlipRotate_)
};

LUM_INTERFACE_ID(ILumIPOneImageMissingPixel, ILumIPOneImageOperator,
                 IID_ILumIPOneImageMissingPixel);
struct LUM_VISIBLE ILumIPOneImageMissingPixel : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_MISSING_PIXEL_PROPERTIES)
};

enum LumIPOneImageMissingPixelStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_MISSING_PIXEL_PROPERTIES, lumIPOneImageMissingPixel_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageMissingPixel_)
};
