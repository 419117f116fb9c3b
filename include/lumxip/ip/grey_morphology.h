#pragma once
// Grey-scale morphology of 8-bit grey images. LumIPOneImageGreyMorphology builds its
// structuring element from an ordered collection of 3 x 3 elements
// (LumIPOneImageGreyMorphology3x3Element in LumIPOneImageGreyMorphology3x3Elements): n
// elements make a (2n + 1) x (2n + 1) element, applied as n passes. Its results lie where
// the whole element fits the input. LumIPOneImageGreyMorphologyNxM takes one odd N x M
// element cell by cell, with a care mask, signed offsets and an optional mask image, and
// gives a result for every input pixel.
//
// Erosion subtracts a cell's offset from the pixel under it, dilation adds it, each term
// clamped to 0..255. A difference (DilateMinusErode, CloseMinusOriginal,
// OriginalMinusOpen) is clamped at 0: with an element that is not symmetric about its
// origin (the centre and its east neighbour, say) the opening can lie above the input,
// and the difference is 0 there, not a wrapped value.
//
// N x M edges: cells beyond the input, input pixels the mask image does not cover and
// those it covers with 0 take no part; where none takes part erosion gives 255 and
// dilation 0. The mask image applies to every pass of a composite operation.

#include "lumxip/ip/one_image.h"
#include "lumxip/ip/result_codes.h"

enum LumIPOneImageMorphology3x3ElementTypeConstants : LONG {
  lumIPOneImageMorphology3x3ElementType3x3Square = 1,
  lumIPOneImageMorphology3x3ElementType3x3Diamond = 2,
  lumIPOneImageMorphology3x3ElementType1x3Line0Deg = 3,
  lumIPOneImageMorphology3x3ElementType1x3Line45Deg = 4,
  lumIPOneImageMorphology3x3ElementType1x3Line90Deg = 5,
  lumIPOneImageMorphology3x3ElementType1x3Line135Deg = 6,
  lumIPOneImageMorphology3x3ElementTypeCustom = 7,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageMorphology3x3ElementTypeNames[] = {
    L"lumIPOneImageMorphology3x3ElementType3x3Square",
    L"lumIPOneImageMorphology3x3ElementType3x3Diamond",
    L"lumIPOneImageMorphology3x3ElementType1x3Line0Deg",
    L"lumIPOneImageMorphology3x3ElementType1x3Line45Deg",
    L"lumIPOneImageMorphology3x3ElementType1x3Line90Deg",
    L"lumIPOneImageMorphology3x3ElementType1x3Line135Deg",
    L"lumIPOneImageMorphology3x3ElementTypeCustom"};

enum LumIPOneImageMorphologyPositionConstants : LONG {
  lumIPOneImageMorphologyPositionNE = 1,
  lumIPOneImageMorphologyPositionN = 2,
  lumIPOneImageMorphologyPositionNW = 4,
  lumIPOneImageMorphologyPositionW = 8,
  lumIPOneImageMorphologyPositionSW = 16,
  lumIPOneImageMorphologyPositionS = 32,
  lumIPOneImageMorphologyPositionSE = 64,
  lumIPOneImageMorphologyPositionE = 128,
  lumIPOneImageMorphologyPositionCenter = 256,
};
enum LumIPOneImageMorphologyOperationConstants : LONG {
  lumIPOneImageMorphologyOperationErode = 1,
  lumIPOneImageMorphologyOperationDilate = 2,
  lumIPOneImageMorphologyOperationOpen = 3,
  lumIPOneImageMorphologyOperationClose = 4,
  lumIPOneImageMorphologyOperationDilateMinusErode = 5,
  lumIPOneImageMorphologyOperationCloseMinusOriginal = 6,
  lumIPOneImageMorphologyOperationOriginalMinusOpen = 7,
};

// The members' names from value 1 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageMorphologyOperationNames[] = {
    L"lumIPOneImageMorphologyOperationErode",
    L"lumIPOneImageMorphologyOperationDilate",
    L"lumIPOneImageMorphologyOperationOpen",
    L"lumIPOneImageMorphologyOperationClose",
    L"lumIPOneImageMorphologyOperationDilateMinusErode",
    L"lumIPOneImageMorphologyOperationCloseMinusOriginal",
    L"lumIPOneImageMorphologyOperationOriginalMinusOpen"};

enum LumFAs_IPOneImageGreyMorphologyNxM : LONG {
  lumFA_IPOneImageGreyMorphologyNxM_Width = 2,
  lumFA_IPOneImageGreyMorphologyNxM_Height = 4,
};

// clang-format off
#define LUM_DETAIL_MEMBER_VALUE(P, x, Name, where) \
  P(x, hidden, MemberValue##Name, LONG, 0, 0, lcNoCheck{}, "Offset of the " where " cell")
// Type is persisted first and read through get/put_Type: setting it also sets MemberMask.
#define LUM_IP_GMORPH_3X3_ELEMENT_PROPERTIES(P, x)                                               \
  P(x, hidden, Type, LumIPOneImageMorphology3x3ElementTypeConstants, 0,                          \
    lumIPOneImageMorphology3x3ElementType3x3Square,                                              \
    enumRange(lumIPOneImageMorphology3x3ElementType3x3Square,                                    \
              lumIPOneImageMorphology3x3ElementTypeCustom,                                       \
              kIPOneImageMorphology3x3ElementTypeNames),                                         \
    "The element's shape; every type but Custom stands for offsets of 0")                       \
  LUM_DETAIL_MEMBER_VALUE(P, x, NE, "north-east") LUM_DETAIL_MEMBER_VALUE(P, x, N, "north")     \
  LUM_DETAIL_MEMBER_VALUE(P, x, NW, "north-west") LUM_DETAIL_MEMBER_VALUE(P, x, W, "west")      \
  LUM_DETAIL_MEMBER_VALUE(P, x, SW, "south-west") LUM_DETAIL_MEMBER_VALUE(P, x, S, "south")     \
  LUM_DETAIL_MEMBER_VALUE(P, x, SE, "south-east") LUM_DETAIL_MEMBER_VALUE(P, x, E, "east")      \
  LUM_DETAIL_MEMBER_VALUE(P, x, Center, "centre")                                               \
  P(x, rw, MemberMask, LumIPOneImageMorphologyPositionConstants, 16863615,                       \
    LumIPOneImageMorphologyPositionConstants(0), lcNoCheck{},                                    \
    "Or-ed position bits of the cells that take no part")

#define LUM_IP_GREY_MORPHOLOGY_OPERATION(P, x, id)                                               \
  P(x, rw, Operation, LumIPOneImageMorphologyOperationConstants, id,                             \
    lumIPOneImageMorphologyOperationErode,                                                       \
    enumRange(lumIPOneImageMorphologyOperationErode,                                             \
              lumIPOneImageMorphologyOperationOriginalMinusOpen,                                 \
              kIPOneImageMorphologyOperationNames),                                              \
    "Erode, dilate, open, close, or one of the three differences")

// OriginX and OriginY are persisted as given (-1: the centre) and read through their
// getters, which give the centre for -1.
#define LUM_IP_GREY_MORPHOLOGY_PROPERTIES(P, x)                                                  \
  LUM_IP_GREY_MORPHOLOGY_OPERATION(P, x, 16863618)                                               \
  P(x, computed, Width, LONG, 16863619, 0, lcNoCheck{}, "2n + 1 for n elements")                \
  P(x, computed, Height, LONG, 16863620, 0, lcNoCheck{}, "2n + 1 for n elements")               \
  P(x, hidden, OriginX, LONG, 0, -1, lcNoCheck{}, "Column of the origin; -1: the centre")       \
  P(x, hidden, OriginY, LONG, 0, -1, lcNoCheck{}, "Row of the origin; -1: the centre")

#define LUM_IP_GREY_MORPHOLOGY_NXM_PROPERTIES(P, x)                                              \
  LUM_IP_GREY_MORPHOLOGY_OPERATION(P, x, 16863262)                                               \
  P(x, ref, InputImageMask, ILumImage8Grey, 16863272, nullptr, lcNoCheck{},                      \
    "Mask image: its zero pixels take no part; none: every pixel takes part")                   \
  P(x, rw, InputImageMaskOffsetX, LONG, 16863273, 0, lcNoCheck{},                                \
    "Column of the input on which the mask image's first column lies")                          \
  P(x, rw, InputImageMaskOffsetY, LONG, 16863274, 0, lcNoCheck{},                                \
    "Row of the input on which the mask image's first row lies")                                \
  P(x, flag, KernelEnabled, VARIANT_BOOL, 16863275, true, lcNoCheck{},                           \
    "Whether the cells' offsets apply; false: a flat element")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageGreyMorphology3x3Element, IDispatch,
                 IID_ILumIPOneImageGreyMorphology3x3Element);
struct LUM_VISIBLE ILumIPOneImageGreyMorphology3x3Element : IDispatch {
  // A new type sets MemberMask from the type's shape; stored offsets are kept.
  virtual HRESULT get_Type(LumIPOneImageMorphology3x3ElementTypeConstants* type) = 0;
  virtual HRESULT put_Type(LumIPOneImageMorphology3x3ElementTypeConstants type) = 0;
  // The offset of one cell (a single position bit), -128 to 127.
  virtual HRESULT get_MemberValue(LumIPOneImageMorphologyPositionConstants position,
                                  LONG* value) = 0;
  virtual HRESULT put_MemberValue(LumIPOneImageMorphologyPositionConstants position,
                                  LONG value) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_IP_GMORPH_3X3_ELEMENT_PROPERTIES)
};

enum LumIPOneImageGreyMorphology3x3ElementStateIDs : int32_t {
  lumIPOneImageGreyMorphology3x3Element_Type = 16863611,
  lumIPOneImageGreyMorphology3x3Element_MemberValue = 16863614,
  LUM_STATE_IDS(LUM_IP_GMORPH_3X3_ELEMENT_PROPERTIES, lumIPOneImageGreyMorphology3x3Element_)
};

// An ordered collection of 3 x 3 elements, indexes from 0; the members and events of
// every collection of this library.
LUM_INTERFACE_ID(ILumIPOneImageGreyMorphology3x3Elements, IDispatch,
                 IID_ILumIPOneImageGreyMorphology3x3Elements);
struct LUM_VISIBLE ILumIPOneImageGreyMorphology3x3Elements : IDispatch {
  virtual HRESULT get__NewEnum(IUnknown** enumerator) = 0;
  virtual HRESULT get_Count(LONG* count) = 0;
  virtual HRESULT get_Item(LONG index, ILumIPOneImageGreyMorphology3x3Element** item) = 0;
  virtual HRESULT FindItem(ILumIPOneImageGreyMorphology3x3Element* item, LONG* index) = 0;
  virtual HRESULT Remove(LONG index) = 0;
  virtual HRESULT Move(LONG from, LONG to) = 0;
  virtual HRESULT Clear() = 0;
  virtual HRESULT putref_Item(LONG index, ILumIPOneImageGreyMorphology3x3Element* item) = 0;
  virtual HRESULT Add(ILumIPOneImageGreyMorphology3x3Element* item, LONG index) = 0;
};

LUM_INTERFACE_ID(ILumIPOneImageGreyMorphology, ILumIPOneImageOperator,
                 IID_ILumIPOneImageGreyMorphology);
struct LUM_VISIBLE ILumIPOneImageGreyMorphology : ILumIPOneImageOperator {
  virtual HRESULT get_Elements(ILumIPOneImageGreyMorphology3x3Elements** elements) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_IP_GREY_MORPHOLOGY_PROPERTIES)
  // 0 <= OriginX < Width, 0 <= OriginY < Height; by default the centre.
  virtual HRESULT get_OriginX(LONG* x) = 0;
  virtual HRESULT put_OriginX(LONG x) = 0;
  virtual HRESULT get_OriginY(LONG* y) = 0;
  virtual HRESULT put_OriginY(LONG y) = 0;
};

enum LumIPOneImageGreyMorphologyStateIDs : int32_t {
  lumIPOneImageGreyMorphology_Elements = 16863617,
  lumIPOneImageGreyMorphology_OriginX = 16863621,
  lumIPOneImageGreyMorphology_OriginY = 16863622,
  LUM_STATE_IDS(LUM_IP_GREY_MORPHOLOGY_PROPERTIES, lumIPOneImageGreyMorphology_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageGreyMorphology_)
};

LUM_INTERFACE_ID(ILumIPOneImageGreyMorphologyNxM, ILumIPOneImageOperator,
                 IID_ILumIPOneImageGreyMorphologyNxM);
struct LUM_VISIBLE ILumIPOneImageGreyMorphologyNxM : ILumIPOneImageOperator {
  // Odd and positive; a new size keeps the cells present before and after, new ones are
  // care with offset 0.
  virtual HRESULT get_KernelWidth(LONG* width) = 0;
  virtual HRESULT put_KernelWidth(LONG width) = 0;
  virtual HRESULT get_KernelHeight(LONG* height) = 0;
  virtual HRESULT put_KernelHeight(LONG height) = 0;
  virtual HRESULT GetMaskValue(LONG column, LONG row, VARIANT_BOOL* care) = 0;
  virtual HRESULT SetMaskValue(LONG column, LONG row, VARIANT_BOOL care) = 0;
  // A cell's offset, -255 to 255.
  virtual HRESULT GetKernelValue(LONG column, LONG row, LONG* value) = 0;
  virtual HRESULT SetKernelValue(LONG column, LONG row, LONG value) = 0;
  LUM_INTERFACE_PROPERTIES(LUM_IP_GREY_MORPHOLOGY_NXM_PROPERTIES)
};

enum LumIPOneImageGreyMorphologyNxMStateIDs : int32_t {
  lumIPOneImageGreyMorphologyNxM_KernelWidth = 16863263,
  lumIPOneImageGreyMorphologyNxM_KernelHeight = 16863264,
  lumIPOneImageGreyMorphologyNxM_GetMaskValue = 16863265,
  lumIPOneImageGreyMorphologyNxM_GetKernelValue = 16863266,
  LUM_STATE_IDS(LUM_IP_GREY_MORPHOLOGY_NXM_PROPERTIES, lumIPOneImageGreyMorphologyNxM_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageGreyMorphologyNxM_)
};
