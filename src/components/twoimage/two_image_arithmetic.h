#pragma once
// LumIPTwoImageAdd, LumIPTwoImageSubtract and LumIPTwoImageMinMax: two-image operators
// that add, subtract, or keep the smaller or larger of two 8-bit or 16-bit grey images.
// OutputImageFormat is kept and saved; the output always has the inputs' format.

#include "components/twoimage/operator_impl.h"
#include "lumxip/ip/two_image_arithmetic.h"

LUM_PARAMETERS(lcTwoImageAddParams, LUM_IP_TWO_IMAGE_ADD_PROPERTIES);
LUM_PARAMETERS(lcTwoImageSubtractParams, LUM_IP_TWO_IMAGE_SUBTRACT_PROPERTIES);
LUM_PARAMETERS(lcTwoImageMinMaxParams, LUM_IP_TWO_IMAGE_MIN_MAX_PROPERTIES);

class LUM_VISIBLE CLumIPTwoImageAdd final
    : public lcIPTwoImageOperatorImpl<CLumIPTwoImageAdd, ILumIPTwoImageAdd, lcTwoImageAddParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPTwoImageAdd,
                                             L"CLumIPTwoImageAdd",
                                             L"Halvex.LumIPTwoImageAdd",
                                             1,
                                             L"Adds two images pixel by pixel",
                                             L"",
                                             L"LumIPTwoImageAddStateIDs"};
  LUM_DECLARED_PROPERTIES(LUM_IP_TWO_IMAGE_ADD_PROPERTIES)

  static lcPelBuffer<uint8_t> run(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                                  const Parameters& p);
  static lcPelBuffer<uint16_t> run(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                                   const Parameters& p);
};

class LUM_VISIBLE CLumIPTwoImageSubtract final
    : public lcIPTwoImageOperatorImpl<CLumIPTwoImageSubtract, ILumIPTwoImageSubtract,
                                      lcTwoImageSubtractParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPTwoImageSubtract,
                                             L"CLumIPTwoImageSubtract",
                                             L"Halvex.LumIPTwoImageSubtract",
                                             1,
                                             L"Subtracts one image from another pixel by pixel",
                                             L"",
                                             L"LumIPTwoImageSubtractStateIDs"};
  LUM_DECLARED_PROPERTIES(LUM_IP_TWO_IMAGE_SUBTRACT_PROPERTIES)

  static lcPelBuffer<uint8_t> run(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                                  const Parameters& p);
  static lcPelBuffer<uint16_t> run(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                                   const Parameters& p);
};

class LUM_VISIBLE CLumIPTwoImageMinMax final
    : public lcIPTwoImageOperatorImpl<CLumIPTwoImageMinMax, ILumIPTwoImageMinMax,
                                      lcTwoImageMinMaxParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPTwoImageMinMax,
                                             L"CLumIPTwoImageMinMax",
                                             L"Halvex.LumIPTwoImageMinMax",
                                             1,
                                             L"Keeps the smaller or the larger of two pixels",
                                             L"",
                                             L"LumIPTwoImageMinMaxStateIDs"};
  LUM_DECLARED_PROPERTIES(LUM_IP_TWO_IMAGE_MIN_MAX_PROPERTIES)

  static lcPelBuffer<uint8_t> run(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b,
                                  const Parameters& p);
  static lcPelBuffer<uint16_t> run(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b,
                                   const Parameters& p);
};
