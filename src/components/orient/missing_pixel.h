#pragma once
// LumIPOneImageMissingPixel: fills the pixels a 16-bit range image marks as missing, from
// their valid neighbours along the row, the column or both, or from a global value. Only
// range images and the pixel-aligned bounding box of a region are accepted.

#include "components/oneimage/operator_impl.h"
#include "lumxip/ip/flip_rotate.h"

LUM_PARAMETERS(lcMissingPixelOperatorParams, LUM_IP_MISSING_PIXEL_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageMissingPixel final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageMissingPixel, ILumIPOneImageMissingPixel,
                                      lcMissingPixelOperatorParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageMissingPixel,
                                             L"CLumIPOneImageMissingPixel",
                                             L"Halvex.LumIPOneImageMissingPixel",
                                             1,
                                             L"Fills the missing pixels of range images",
                                             L"LumIPOneImageCtl.LumIPMissingPixelEdit",
                                             L"LumIPOneImageMissingPixelStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatRange16, true};
  LUM_DECLARED_PROPERTIES(LUM_IP_MISSING_PIXEL_PROPERTIES)

  // Region modes other than the pixel-aligned bounding box are refused before the input
  // is read.
  HRESULT Execute(ILumImage* input, LONG regionMode, ILumRegion* region,
                  ILumImage** output) override;

  static void run(const lcPelBufferRange16& source, lcPelBufferRange16& result,
                  const Parameters& p);
};
