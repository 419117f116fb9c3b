#pragma once
// Pixel remapping: one-image operators that replace every pixel by a table entry indexed
// by its value. LumIPOneImagePixelMap applies tables the user sets (one for grey images,
// one per plane for colour), LumIPOneImageEqualize a table built from the integral of the
// image's own histogram, LumIPOneImageQuantize a staircase of 2 to 128 levels placed by
// recursive histogram thresholding.

#include "lumxip/ip/one_image.h"

// The four tables: 256 bytes each, read and written as one-dimensional byte arrays
// (VT_ARRAY | VT_UI1) bounded 0 .. 255.
enum LumIPOneImagePixelMapStateIDs : int32_t {
  lumIPOneImagePixelMap_Map = 16864014,
  lumIPOneImagePixelMap_Plane0Map = 16863282,
  lumIPOneImagePixelMap_Plane1Map = 16863283,
  lumIPOneImagePixelMap_Plane2Map = 16863284,
  LUM_OPERATOR_STATE_IDS(lumIPOneImagePixelMap_)
};

inline constexpr DISPID DISPID_LumIPOneImagePixelMap_CreateGraphics = 16864015;
inline constexpr DISPID DISPID_LumIPOneImagePixelMap_CreatePlanarGraphics = 16864016;

LUM_INTERFACE_ID(ILumIPOneImagePixelMap, ILumIPOneImageOperator, IID_ILumIPOneImagePixelMap);
struct LUM_VISIBLE ILumIPOneImagePixelMap : ILumIPOneImageOperator {
  // The table of 8-bit grey images.
  virtual HRESULT get_Map(VARIANT* table) = 0;
  virtual HRESULT put_Map(VARIANT table) = 0;
  // The tables of planes 0, 1 and 2 of colour images.
  virtual HRESULT get_Plane0Map(VARIANT* table) = 0;
  virtual HRESULT put_Plane0Map(VARIANT table) = 0;
  virtual HRESULT get_Plane1Map(VARIANT* table) = 0;
  virtual HRESULT put_Plane1Map(VARIANT table) = 0;
  virtual HRESULT get_Plane2Map(VARIANT* table) = 0;
  virtual HRESULT put_Plane2Map(VARIANT table) = 0;
  // The table of Map, or of plane `plane`, drawn in `color`.
  virtual HRESULT CreateGraphics(LONG color, IDispatch** graphic) = 0;
  virtual HRESULT CreatePlanarGraphics(LONG color, LONG plane, IDispatch** graphic) = 0;
};

enum LumIPOneImageEqualizeStateIDs : int32_t { LUM_OPERATOR_STATE_IDS(lumIPOneImageEqualize_) };

enum LumIPOneImageQuantizeLevelConstants : LONG {
  lumIPOneImageQuantizeLevels2 = 0,
  lumIPOneImageQuantizeLevels4 = 1,
  lumIPOneImageQuantizeLevels8 = 2,
  lumIPOneImageQuantizeLevels16 = 3,
  lumIPOneImageQuantizeLevels32 = 4,
  lumIPOneImageQuantizeLevels64 = 5,
  lumIPOneImageQuantizeLevels128 = 6,
};

// The members' names from value 0 on, for descriptions and setting by name.
inline constexpr const wchar_t* kIPOneImageQuantizeLevelNames[] = {
    L"lumIPOneImageQuantizeLevels2",  L"lumIPOneImageQuantizeLevels4",
    L"lumIPOneImageQuantizeLevels8",  L"lumIPOneImageQuantizeLevels16",
    L"lumIPOneImageQuantizeLevels32", L"lumIPOneImageQuantizeLevels64",
    L"lumIPOneImageQuantizeLevels128"};

// clang-format off
#define LUM_IP_QUANTIZE_PROPERTIES(P, x)                                                         \
  P(x, rw, Levels, LumIPOneImageQuantizeLevelConstants, 16863601, lumIPOneImageQuantizeLevels2,  \
    enumRange(lumIPOneImageQuantizeLevels2, lumIPOneImageQuantizeLevels128,                      \
              kIPOneImageQuantizeLevelNames),                                                    \
    "Number of output levels: value v gives 2^(v + 1)")
// clang-format on

LUM_INTERFACE_ID(ILumIPOneImageQuantize, ILumIPOneImageOperator, IID_ILumIPOneImageQuantize);
struct LUM_VISIBLE ILumIPOneImageQuantize : ILumIPOneImageOperator {
  LUM_INTERFACE_PROPERTIES(LUM_IP_QUANTIZE_PROPERTIES)
};

enum LumIPOneImageQuantizeStateIDs : int32_t {
  LUM_STATE_IDS(LUM_IP_QUANTIZE_PROPERTIES, lumIPOneImageQuantize_)
      LUM_OPERATOR_STATE_IDS(lumIPOneImageQuantize_)
};
