#pragma once
// The whole-factor sampling operators: LumIPOneImageSubSampler and LumIPOneImageExpand
// (8-bit, 16-bit and colour images) and LumIPOneImageGaussSampler (8-bit and colour).
// Each output covers its input's client area at another pixel scale.

#include "components/oneimage/operator_impl.h"
#include "lumxip/ip/sampling.h"

LUM_PARAMETERS(lcSubSamplerParams, LUM_IP_SUB_SAMPLER_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageSubSampler final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageSubSampler, ILumIPOneImageSubSampler,
                                      lcSubSamplerParams> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageSubSampler,      L"CLumIPOneImageSubSampler",
      L"Halvex.LumIPOneImageSubSampler",  1,
      L"Reduces images by whole factors", L"LumIPOneImageCtl.LumIPSubSamplerEdit",
      L"LumIPOneImageSubSamplerStateIDs"};
  static constexpr lcOneImageFrame kFrame{};
  LUM_DECLARED_PROPERTIES(LUM_IP_SUB_SAMPLER_PROPERTIES)

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Parameters& p);
};

LUM_PARAMETERS(lcExpandOperatorParams, LUM_IP_EXPAND_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageExpand final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageExpand, ILumIPOneImageExpand,
                                      lcExpandOperatorParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageExpand,
                                             L"CLumIPOneImageExpand",
                                             L"Halvex.LumIPOneImageExpand",
                                             1,
                                             L"Enlarges images by replicating pixels",
                                             L"LumIPOneImageCtl.LumIPExpandEdit",
                                             L"LumIPOneImageExpandStateIDs"};
  static constexpr lcOneImageFrame kFrame{};
  LUM_DECLARED_PROPERTIES(LUM_IP_EXPAND_PROPERTIES)

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Parameters& p);
};

LUM_PARAMETERS(lcGaussSamplerParams, LUM_IP_GAUSS_SAMPLER_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageGaussSampler final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageGaussSampler, ILumIPOneImageGaussSampler,
                                      lcGaussSamplerParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageGaussSampler,
                                             L"CLumIPOneImageGaussSampler",
                                             L"Halvex.LumIPOneImageGaussSampler",
                                             1,
                                             L"Smooths with a Gaussian, then sub-samples",
                                             L"LumIPOneImageCtl.LumIPGaussSamplerEdit",
                                             L"LumIPOneImageGaussSamplerStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8 | lcImageFormatPlanar24};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_IP_GAUSS_SAMPLER_PROPERTIES),
        lum::members(indexedProp<&Self::get_MagnitudeShift, &Self::put_MagnitudeShift>(
            L"MagnitudeShift", lumIPOneImageGaussSampler_MagnitudeShift)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_GAUSS_SAMPLER_PROPERTIES)

  HRESULT get_SigmaX(double* sigma) override;
  HRESULT get_SigmaY(double* sigma) override;
  HRESULT get_MagnitudeShift(LONG* shift) override;
  HRESULT put_MagnitudeShift(LONG shift) override;

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
};
