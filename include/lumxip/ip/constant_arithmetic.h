#pragma once
// Constant arithmetic: add a signed constant to every pixel, or multiply every pixel by a
// non-negative real. 8-bit grey, 16-bit grey and planar colour (plane by plane, with the
// plane constants); what leaves the pixel range is clamped or wrapped.

#include "lumxip/ip/one_image.h"

enum LumIPOneImageAddSubtractConstantOverflowModeConstants : LONG {
  lumIPOneImageAddSubtractConstantOverflowModeBounded = 0,
  lumIPOneImageAddSubtractConstantOverflowModeWrap = 1,
};
enum LumIPOneImageAddSubtractConstantImageFormatConstants : LONG {
  lumIPOneImageAddSubtractConstantImageFormatSameAsInputImage = 0,
  lumIPOneImageAddSubtractConstantImageFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageAddSubtractConstantImageFormatNames[] = {
    L"lumIPOneImageAddSubtractConstantImageFormatSameAsInputImage",
    L"lumIPOneImageAddSubtractConstantImageFormat8Grey"};

enum LumIPOneImageMultiplyConstantOverflowModeConstants : LONG {
  lumIPOneImageMultiplyConstantOverflowModeBounded = 0,
  lumIPOneImageMultiplyConstantOverflowModeWrap = 1,
};
enum LumIPOneImageMultiplyConstantImageFormatConstants : LONG {
  lumIPOneImageMultiplyConstantImageFormatSameAsInputImage = 0,
  lumIPOneImageMultiplyConstantImageFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageMultiplyConstantImageFormatNames[] = {
    L"lumIPOneImageMultiplyConstantImageFormatSameAsInputImage",
    L"lumIPOneImageMultiplyConstantImageFormat8Grey"};

// clang-format off
#define LUM_IP_ADD_SUBTRACT_CONSTANT_PROPERTIES(P, x)                                            \
  P(x, rw, ConstantValue, LONG, 16863585, 0, lcNoCheck{},                                        \
    "Added to every pixel of a grey image; a negative value subtracts")                          \
  P(x, rw, OverflowMode, LumIPOneImageAddSubtractConstantOverflowModeConstants, 16863586,        \
    lumIPOneImageAddSubtractConstantOverflowModeBounded,                                         \
    namedPair(lumIPOneImageAddSubtractConstantOverflowModeBounded,                               \
              L"lumIPOneImageAddSubtractConstantOverflowModeBounded",                            \
              lumIPOneImageAddSubtractConstantOverflowModeWrap,                                  \
              L"lumIPOneImageAddSubtractConstantOverflowModeWrap"),                              \
    "Bounded clamps results to the pixel range, Wrap keeps their low bits")                      \
  P(x, hidden, OperationFormat, LONG, 0, 0, lcNoCheck{}, "Kept in saved operators; unused")      \
  P(x, rw, OutputImageFormat, LumIPOneImageAddSubtractConstantImageFormatConstants, 16863663,    \
    lumIPOneImageAddSubtractConstantImageFormatSameAsInputImage,                                 \
    enumRange(lumIPOneImageAddSubtractConstantImageFormatSameAsInputImage,                       \
              lumIPOneImageAddSubtractConstantImageFormat8Grey,                                  \
              kIPOneImageAddSubtractConstantImageFormatNames),                                   \
    "Stored and saved; the output always has the input's format")                                \
  P(x, rw, ConstantPlane0Value, LONG, 16863276, 0, lcNoCheck{}, "Added to colour plane 0")       \
  P(x, rw, ConstantPlane1Value, LONG, 16863277, 0, lcNoCheck{}, "Added to colour plane 1")       \
  P(x, rw, ConstantPlane2Value, LONG, 16863278, 0, lcNoCheck{}, "Added to colour plane 2")

#define LUM_IP_MULTIPLY_CONSTANT_PROPERTIES(P, x)                                                \
  P(x, rw, ConstantValue, double, 16863994, 1.0, atLeast(0.0),                                   \
    "Factor for every pixel of a grey image; products round half up")                            \
  P(x, rw, OverflowMode, LumIPOneImageMultiplyConstantOverflowModeConstants, 16863995,           \
    lumIPOneImageMultiplyConstantOverflowModeBounded,                                            \
    namedPair(lumIPOneImageMultiplyConstantOverflowModeBounded,                                  \
              L"lumIPOneImageMultiplyConstantOverflowModeBounded",                               \
              lumIPOneImageMultiplyConstantOverflowModeWrap,                                     \
              L"lumIPOneImageMultiplyConstantOverflowModeWrap"),                                 \
    "Bounded clamps results to the pixel range, Wrap keeps their low bits")                      \
  P(x, rw, OutputImageFormat, LumIPOneImageMultiplyConstantImageFormatConstants, 16863996,       \
    lumIPOneImageMultiplyConstantImageFormatSameAsInputImage,                                    \
    enumRange(lumIPOneImageMultiplyConstantImageFormatSameAsInputImage,                          \
              lumIPOneImageMultiplyConstantImageFormat8Grey,                                     \
              kIPOneImageMultiplyConstantImageFormatNames),                                      \
    "Stored and saved; the output always has the input's format")                                \
  P(x, rw, ConstantPlane0Value, double, 16863279, 1.0, atLeast(0.0), "Factor for colour plane 0") \
  P(x, rw, ConstantPlane1Value, double, 16863280, 1.0, atLeast(0.0), "Factor for colour plane 1") \
  P(x, rw, ConstantPlane2Value, double, 16863281, 1.0, atLeast(0.0), "Factor for colour plane 2")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageAddSubtractConstant, ILumIPOneImageOperator,
                 IID_ILumIPOneImageAddSubtractConstant);
struct LUM_VISIBLE ILumIPOneImageAddSubtractConstant : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_ADD_SUBTRACT_CONSTANT_PROPERTIES)
};

enum LumIPOneImageAddSubtractConstantStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_ADD_SUBTRACT_CONSTANT_PROPERTIES, lumIPOneImageAddSubtractConstant_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageAddSubtractConstant_)
};

LUM_INTERFACE_ID(ILumIPOneImageMultiplyConstant, ILumIPOneImageOperator,
                 IID_ILumIPOneImageMultiplyConstant);
struct LUM_VISIBLE ILumIPOneImageMultiplyConstant : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_MULTIPLY_CONSTANT_PROPERTIES)
};

enum LumIPOneImageMultiplyConstantStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_MULTIPLY_CONSTANT_PROPERTIES, lumIPOneImageMultiplyConstant_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageMultiplyConstant_)
};
