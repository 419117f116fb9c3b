#pragma once
// Two-image arithmetic: A + B, A - B, and the smaller or larger of A and B, on 8-bit or
// 16-bit grey images, with their tools.

#include "lumxip/ip/two_image.h"

enum LumIPTwoImageAddOverflowModeConstants : LONG {
  lumIPTwoImageAddOverflowModeBounded = 0,
  lumIPTwoImageAddOverflowModeWrap = 1,
  lumIPTwoImageAddOverflowModeShift = 2,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageAddOverflowModeNames[] = {
    L"lumIPTwoImageAddOverflowModeBounded", L"lumIPTwoImageAddOverflowModeWrap",
    L"lumIPTwoImageAddOverflowModeShift"};

enum LumIPTwoImageSubtractOverflowModeConstants : LONG {
  lumIPTwoImageSubtractOverflowModeBounded = 0,
  lumIPTwoImageSubtractOverflowModeWrap = 1,
  lumIPTwoImageSubtractOverflowModeShift = 2,
  lumIPTwoImageSubtractOverflowModeAbsolute = 3,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageSubtractOverflowModeNames[] = {
    L"lumIPTwoImageSubtractOverflowModeBounded", L"lumIPTwoImageSubtractOverflowModeWrap",
    L"lumIPTwoImageSubtractOverflowModeShift", L"lumIPTwoImageSubtractOverflowModeAbsolute"};

enum LumIPTwoImageMinMaxOperationConstants : LONG {
  lumIPTwoImageMinMaxOperationMin = 0,
  lumIPTwoImageMinMaxOperationMax = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageMinMaxOperationNames[] = {
    L"lumIPTwoImageMinMaxOperationMin", L"lumIPTwoImageMinMaxOperationMax"};

enum LumIPTwoImageAddFormatConstants : LONG {
  lumIPTwoImageAddFormatDeepestOfInputImages = 0,
  lumIPTwoImageAddFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageAddFormatNames[] = {
    L"lumIPTwoImageAddFormatDeepestOfInputImages", L"lumIPTwoImageAddFormat8Grey"};

enum LumIPTwoImageSubtractFormatConstants : LONG {
  lumIPTwoImageSubtractFormatDeepestOfInputImages = 0,
  lumIPTwoImageSubtractFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageSubtractFormatNames[] = {
    L"lumIPTwoImageSubtractFormatDeepestOfInputImages", L"lumIPTwoImageSubtractFormat8Grey"};

enum LumIPTwoImageMinMaxFormatConstants : LONG {
  lumIPTwoImageMinMaxFormatDeepestOfInputImages = 0,
  lumIPTwoImageMinMaxFormat8Grey = 1,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPTwoImageMinMaxFormatNames[] = {
    L"lumIPTwoImageMinMaxFormatDeepestOfInputImages", L"lumIPTwoImageMinMaxFormat8Grey"};

// clang-format off
#define LUM_IP_TWO_IMAGE_ADD_OWN_PROPERTIES(P, x) \
  P(x, rw, OverflowMode, LumIPTwoImageAddOverflowModeConstants, 16863702,                        \
    lumIPTwoImageAddOverflowModeBounded,                                                         \
    enumRange(lumIPTwoImageAddOverflowModeBounded, lumIPTwoImageAddOverflowModeShift,            \
              kIPTwoImageAddOverflowModeNames),                                                  \
    "Bounded clamps sums at the maximum, Wrap keeps their low bits, Shift halves them")          \
  P(x, rw, OutputImageFormat, LumIPTwoImageAddFormatConstants, 16863704,                         \
    lumIPTwoImageAddFormatDeepestOfInputImages,                                                  \
    enumRange(lumIPTwoImageAddFormatDeepestOfInputImages, lumIPTwoImageAddFormat8Grey,           \
              kIPTwoImageAddFormatNames),                                                        \
    "Stored and saved; the output always has the inputs' format")

#define LUM_IP_TWO_IMAGE_SUBTRACT_OWN_PROPERTIES(P, x) \
  P(x, rw, OverflowMode, LumIPTwoImageSubtractOverflowModeConstants, 16863708,                   \
    lumIPTwoImageSubtractOverflowModeBounded,                                                    \
    enumRange(lumIPTwoImageSubtractOverflowModeBounded,                                          \
              lumIPTwoImageSubtractOverflowModeAbsolute,                                         \
              kIPTwoImageSubtractOverflowModeNames),                                             \
    "Bounded clamps at zero, Wrap keeps the low bits, Shift halves the signed difference, "      \
    "Absolute takes its size")                                                                   \
  P(x, rw, OutputImageFormat, LumIPTwoImageSubtractFormatConstants, 16863710,                    \
    lumIPTwoImageSubtractFormatDeepestOfInputImages,                                             \
    enumRange(lumIPTwoImageSubtractFormatDeepestOfInputImages,                                   \
              lumIPTwoImageSubtractFormat8Grey,                                                  \
              kIPTwoImageSubtractFormatNames),                                                   \
    "Stored and saved; the output always has the inputs' format")

#define LUM_IP_TWO_IMAGE_MIN_MAX_OWN_PROPERTIES(P, x) \
  P(x, rw, Operation, LumIPTwoImageMinMaxOperationConstants, 16863863,                           \
    lumIPTwoImageMinMaxOperationMin,                                                             \
    enumRange(lumIPTwoImageMinMaxOperationMin, lumIPTwoImageMinMaxOperationMax,                  \
              kIPTwoImageMinMaxOperationNames),                                                  \
    "Min keeps the smaller of the two pixels, Max the larger")                                   \
  P(x, rw, OutputImageFormat, LumIPTwoImageMinMaxFormatConstants, 16863946,                      \
    lumIPTwoImageMinMaxFormatDeepestOfInputImages,                                               \
    enumRange(lumIPTwoImageMinMaxFormatDeepestOfInputImages, lumIPTwoImageMinMaxFormat8Grey,     \
              kIPTwoImageMinMaxFormatNames),                                                     \
    "Stored and saved; the output always has the inputs' format")
// clang-format on

// Each operator's whole list: the nine common rows with its state IDs, then its own.
#define LUM_IP_TWO_IMAGE_ADD_PROPERTIES(P, x)                                                   \
  LUM_IP_TWO_IMAGE_PROPERTIES(P, x, 16863669, 16863670, 16863673, 16863674, 16863824, 16863826, \
                              16863827, 16863950, 16863953)                                     \
  LUM_IP_TWO_IMAGE_ADD_OWN_PROPERTIES(P, x)
#define LUM_IP_TWO_IMAGE_SUBTRACT_PROPERTIES(P, x)                                              \
  LUM_IP_TWO_IMAGE_PROPERTIES(P, x, 16863849, 16863850, 16863851, 16863852, 16863853, 16863854, \
                              16863855, 16863951, 16863954)                                     \
  LUM_IP_TWO_IMAGE_SUBTRACT_OWN_PROPERTIES(P, x)
#define LUM_IP_TWO_IMAGE_MIN_MAX_PROPERTIES(P, x)                                               \
  LUM_IP_TWO_IMAGE_PROPERTIES(P, x, 16863856, 16863857, 16863858, 16863859, 16863860, 16863861, \
                              16863862, 16863952, 16863955)                                     \
  LUM_IP_TWO_IMAGE_MIN_MAX_OWN_PROPERTIES(P, x)

// Declares an operator's parameter interface (the common nine, then its own two), its
// primary interface (adding Execute) and its state IDs.
#define LUM_IP_DECLARE_TWO_IMAGE_OPERATOR(Name, LIST, OWN_LIST)                       \
  LUM_INTERFACE_ID(ILum##Name##Params, ILumIPTwoImageParams, IID_ILum##Name##Params); \
  struct LUM_VISIBLE ILum##Name##Params : ILumIPTwoImageParams {                      \
    LUM_INTERFACE_PROPERTIES(OWN_LIST)                                                \
  };                                                                                  \
  LUM_INTERFACE_ID(ILum##Name, ILum##Name##Params, IID_ILum##Name);                   \
  struct LUM_VISIBLE ILum##Name : ILum##Name##Params {                                \
    LUM_IP_TWO_IMAGE_EXECUTE                                                          \
  };                                                                                  \
  enum Lum##Name##StateIDs : int32_t{LUM_STATE_IDS(LIST, lum##Name##_)};

LUM_IP_DECLARE_TWO_IMAGE_OPERATOR(IPTwoImageAdd, LUM_IP_TWO_IMAGE_ADD_PROPERTIES,
                                  LUM_IP_TWO_IMAGE_ADD_OWN_PROPERTIES)
LUM_IP_DECLARE_TWO_IMAGE_OPERATOR(IPTwoImageSubtract, LUM_IP_TWO_IMAGE_SUBTRACT_PROPERTIES,
                                  LUM_IP_TWO_IMAGE_SUBTRACT_OWN_PROPERTIES)
LUM_IP_DECLARE_TWO_IMAGE_OPERATOR(IPTwoImageMinMax, LUM_IP_TWO_IMAGE_MIN_MAX_PROPERTIES,
                                  LUM_IP_TWO_IMAGE_MIN_MAX_OWN_PROPERTIES)

// The tools: each owns its operator as RunParams.
#define LUM_IP_DECLARE_TWO_IMAGE_TOOL(Name, firstStateId)               \
  LUM_IP_TWO_IMAGE_RECORDS(Name)                                        \
  LUM_IP_TWO_IMAGE_TOOL_STATE_IDS(Name, firstStateId)                   \
  LUM_INTERFACE_ID(ILum##Name##Tool, ILumIPTool, IID_ILum##Name##Tool); \
  struct LUM_VISIBLE ILum##Name##Tool : ILumIPTool {                    \
    LUM_IP_TWO_IMAGE_TOOL_MEMBERS(ILum##Name##Params)                   \
  };

LUM_IP_DECLARE_TWO_IMAGE_TOOL(IPTwoImageAdd, 16863832)
LUM_IP_DECLARE_TWO_IMAGE_TOOL(IPTwoImageSubtract, 16863873)
LUM_IP_DECLARE_TWO_IMAGE_TOOL(IPTwoImageMinMax, 16863889)
