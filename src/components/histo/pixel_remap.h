#pragma once
// The pixel-remapping operators: LumIPOneImagePixelMap (tables the user sets),
// LumIPOneImageEqualize (a table from the integral of the image's own histogram) and
// LumIPOneImageQuantize (a staircase placed by recursive histogram thresholding).

#include <array>
#include <cstdint>

#include "components/oneimage/operator_impl.h"
#include "lumxip/ip/pixel_remap.h"

// The four tables of a pixel map: Map, then the tables of planes 0, 1 and 2.
struct lcPixelMapTables {
  using Table = std::array<uint8_t, 256>;
  static constexpr Table identity() {
    Table table{};
    for (int i = 0; i < 256; ++i)
      table[i] = static_cast<uint8_t>(i);
    return table;
  }
  std::array<Table, 4> tables{identity(), identity(), identity(), identity()};
};

class LUM_VISIBLE CLumIPOneImagePixelMap final
    : public lcIPOneImageOperatorImpl<CLumIPOneImagePixelMap, ILumIPOneImagePixelMap,
                                      lcPixelMapTables> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImagePixelMap,         L"CLumIPOneImagePixelMap",
      L"Halvex.LumIPOneImagePixelMap",     1,
      L"Maps every pixel through a table", L"LumIPOneImageCtl.LumIPPixelMapEdit",
      L"LumIPOneImagePixelMapStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8 | lcImageFormatPlanar24};
  static constexpr auto ownMembers() {
    return lum::members(
        indexedProp<&Self::get_Map, &Self::put_Map>(L"Map", lumIPOneImagePixelMap_Map),
        indexedProp<&Self::get_Plane0Map, &Self::put_Plane0Map>(L"Plane0Map",
                                                                lumIPOneImagePixelMap_Plane0Map),
        indexedProp<&Self::get_Plane1Map, &Self::put_Plane1Map>(L"Plane1Map",
                                                                lumIPOneImagePixelMap_Plane1Map),
        indexedProp<&Self::get_Plane2Map, &Self::put_Plane2Map>(L"Plane2Map",
                                                                lumIPOneImagePixelMap_Plane2Map),
        method<&Self::CreateGraphics>(L"CreateGraphics",
                                      DISPID_LumIPOneImagePixelMap_CreateGraphics),
        method<&Self::CreatePlanarGraphics>(L"CreatePlanarGraphics",
                                            DISPID_LumIPOneImagePixelMap_CreatePlanarGraphics));
  }

  HRESULT get_Map(VARIANT* table) override { return getTable(0, L"get_Map", table); }
  HRESULT put_Map(VARIANT table) override { return putTable(0, L"put_Map", table); }
  HRESULT get_Plane0Map(VARIANT* table) override { return getTable(1, L"get_Plane0Map", table); }
  HRESULT put_Plane0Map(VARIANT table) override { return putTable(1, L"put_Plane0Map", table); }
  HRESULT get_Plane1Map(VARIANT* table) override { return getTable(2, L"get_Plane1Map", table); }
  HRESULT put_Plane1Map(VARIANT table) override { return putTable(2, L"put_Plane1Map", table); }
  HRESULT get_Plane2Map(VARIANT* table) override { return getTable(3, L"get_Plane2Map", table); }
  HRESULT put_Plane2Map(VARIANT table) override { return putTable(3, L"put_Plane2Map", table); }
  HRESULT CreateGraphics(LONG color, IDispatch** graphic) override;
  HRESULT CreatePlanarGraphics(LONG color, LONG plane, IDispatch** graphic) override;

  // Every entry under its own key: "Map0" .. "Map255", then "Plane0Map0" and so on.
  void persistCustom(ILumArchive& archive, LONG mode);

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);

 private:
  Table tableCopy(int which);
  HRESULT getTable(int which, const wchar_t* method, VARIANT* table);
  HRESULT putTable(int which, const wchar_t* method, const VARIANT& table);
};

struct lcNoParameters {};

class LUM_VISIBLE CLumIPOneImageEqualize final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageEqualize, ILumIPOneImageOperator,
                                      lcNoParameters> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageEqualize,           L"CLumIPOneImageEqualize",
      L"Halvex.LumIPOneImageEqualize",       1,
      L"Equalizes the grey-value histogram", L"LumIPOneImageCtl.LumIPEqualizeEdit",
      L"LumIPOneImageEqualizeStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8 | lcImageFormatGrey16};
  static constexpr auto ownMembers() { return lum::members(); }

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Parameters& p);
};

LUM_PARAMETERS(lcQuantizeParams, LUM_IP_QUANTIZE_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageQuantize final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageQuantize, ILumIPOneImageQuantize,
                                      lcQuantizeParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageQuantize,
                                             L"CLumIPOneImageQuantize",
                                             L"Halvex.LumIPOneImageQuantize",
                                             1,
                                             L"Quantizes grey values into 2 to 128 levels",
                                             L"LumIPOneImageCtl.LumIPQuantizeEdit",
                                             L"LumIPOneImageQuantizeStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8 | lcImageFormatGrey16};
  LUM_DECLARED_PROPERTIES(LUM_IP_QUANTIZE_PROPERTIES)

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Parameters& p);
};
