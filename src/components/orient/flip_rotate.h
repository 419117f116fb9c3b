#pragma once
// LumIPOneImageFlipRotate: re-orients 8-bit, 16-bit and colour images on the pixel grid;
// the output is placed so that every pixel keeps its client position. A 16-bit output
// keeps the input's pixel-depth code.

#include "components/oneimage/operator_impl.h"
#include "lumxip/ip/flip_rotate.h"

LUM_PARAMETERS(lcFlipRotateParams, LUM_IP_FLIP_ROTATE_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageFlipRotate final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageFlipRotate, ILumIPOneImageFlipRotate,
                                      lcFlipRotateParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageFlipRotate,
                                             L"CLumIPOneImageFlipRotate",
                                             L"Halvex.LumIPOneImageFlipRotate",
                                             1,
                                             L"Rotates and mirrors images on the pixel grid",
                                             L"LumIPOneImageCtl.LumIPSpatialEdit",
                                             L"LumIPOneImageFlipRotateStateIDs"};
  static constexpr lcOneImageFrame kFrame{
      lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24, true};
  // The operation is saved under its old name, "Operation".
  static constexpr auto ownMembers() {
    return lum::members(
        std::get<0>(LUM_MEMBER_ROWS(LUM_IP_FLIP_ROTATE_PROPERTIES)).persistedAs(L"Operation"));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_FLIP_ROTATE_PROPERTIES)

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Parameters& p);
};
