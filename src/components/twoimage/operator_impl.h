#pragma once
// lcIPTwoImageOperatorImpl: the base of every two-image operator. The operator's
// property list starts with the nine common rows (lumxip/ip/two_image.h) and its
// parameter struct holds them; the base implements Execute: a snapshot of the
// parameters taken under the lock, then the two-image frame around the operator's
// kernel calls.
//
// An operator declares, besides its class and property list:
//
//   static lcPelBuffer<uint8_t> run(const lcPelBuffer<uint8_t>& a,
//                                   const lcPelBuffer<uint8_t>& b, const Params& p);
//   static lcPelBuffer<uint16_t> run(const lcPelBuffer<uint16_t>& a,
//                                    const lcPelBuffer<uint16_t>& b, const Params& p);
//
// each giving a buffer over the pixels a and b share (unbound when none).

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "components/twoimage/two_image_frame.h"
#include "lumxip/ip/two_image.h"

// Region modes 1 and 2; a refusal names both (message 0x80048101).
constexpr lcNamedPair<LumRegionModeConstants> twoImageRegionModeCheck() {
  return namedPair(lumRegionModeAffineTransform, L"lumRegionModeAffineTransform",
                   lumRegionModePixelAlignedBoundingBox, L"lumRegionModePixelAlignedBoundingBox");
}

template <class T, class Itf, class Params>
class lcIPTwoImageOperatorImpl : public lcStdPersistAndChangeImpl<T, Itf>, public Params {
  using Base = lcStdPersistAndChangeImpl<T, Itf>;

 public:
  using Self = T;
  using Parameters = Params;

  static constexpr auto inheritedMembers() {
    return std::tuple_cat(Base::inheritedMembers(),
                          lum::members(method<&lcIPTwoImageOperatorImpl::Execute>(
                                           L"Execute", DISPID_LumIPTwoImageOperator_Execute)
                                           .optionalFrom(2)));
  }

  HRESULT Execute(ILumImage* inputImageA, ILumImage* inputImageB, ILumRegion* regionA,
                  ILumRegion* regionB, ILumImage** outputImage) override {
    if (HRESULT hr = lcClearOutPointers(outputImage); FAILED(hr)) return hr;
    return callBoundary(this->context(L"Execute"), [&] {
      const Params params = snapshot();
      Kernel kernel{params};
      *outputImage = lcRunTwoImageFrame(lcTwoImageSetupOf(params), kernel,
                                        {inputImageA, inputImageB, regionA, regionB})
                         .detach();
    });
  }

  // The parameters as they are now, copied under the lock.
  Params snapshot() {
    lcLockGuard guard(this->core().lock());
    return static_cast<const Params&>(*this);
  }

 protected:
  lcIPTwoImageOperatorImpl() = default;

 private:
  struct Kernel {
    const Params& params;
    lcPelBuffer<uint8_t> grey8(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b) {
      return T::run(a, b, params);
    }
    lcPelBuffer<uint16_t> grey16(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b) {
      return T::run(a, b, params);
    }
  };
};
