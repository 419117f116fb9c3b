#pragma once
// lcIPOneImageOperatorImpl: the base of every one-image operator. It holds the common
// members (Enabled, ControlProgID, OperatorName, persisted after Tag and before the
// operator's own), derives from the operator's parameter struct, and implements Execute:
// a snapshot of the parameters taken under the lock, then the frame (format choice,
// input buffer cut to the region, output image) around the operator's kernel calls.
//
// An operator declares, besides its class and property list:
//
//   static constexpr lcOneImageFrame kFrame{formats it accepts, copy the 16-bit depth};
//   static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
//                   const Snapshot& p, int plane);   // plane -1 grey, 0..2 colour
//   static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
//                   const Snapshot& p);
//   static void run(const lcPelBufferRange16& source, lcPelBufferRange16& result,
//                   const Snapshot& p);
//
// (only the overloads of its formats). `result` comes unbound: the kernel allocates it at
// its own window and offset. Snapshot is the parameter struct, unless the operator has
// prepared state: then it defines `snapshot()` returning what its kernels need.

#include <utility>

#include "components/bridge/one_image_frame.h"
#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "lumxip/ip/one_image.h"

LUM_PARAMETERS(lcOneImageOperatorCommon, LUM_IP_ONE_IMAGE_OPERATOR_PROPERTIES);

namespace lum::detail {

// Turns an operator's `run` overloads into the per-format kernel the frame calls.
template <class T, class Snapshot>
struct OneImageKernelAdaptor {
  const Snapshot& params;

  lcPelBuffer<uint8_t> grey8(const lcPelBuffer<uint8_t>& source, int plane) requires
      requires(lcPelBuffer<uint8_t>& r) {
    T::run(source, r, params, plane);
  }
  {
    lcPelBuffer<uint8_t> result;
    T::run(source, result, params, plane);
    return result;
  }
  lcPelBuffer<uint16_t> grey16(const lcPelBuffer<uint16_t>& source) requires
      requires(lcPelBuffer<uint16_t>& r) {
    T::run(source, r, params);
  }
  {
    lcPelBuffer<uint16_t> result;
    T::run(source, result, params);
    return result;
  }
  lcPelBufferRange16 range16(const lcPelBufferRange16& source) requires
      requires(lcPelBufferRange16& r) {
    T::run(source, r, params);
  }
  {
    lcPelBufferRange16 result;
    T::run(source, result, params);
    return result;
  }
};

}  // namespace lum::detail

template <class T, class Itf, class Params>
class lcIPOneImageOperatorImpl : public lcStdPersistAndChangeImpl<T, Itf>,
                                 public lcOneImageOperatorCommon,
                                 public Params {
  using Base = lcStdPersistAndChangeImpl<T, Itf>;

 public:
  using Self = T;
  using Parameters = Params;

  static constexpr const wchar_t* defaultControlProgId() { return T::kClass.controlProgId; }
  static constexpr auto inheritedMembers() {
    return std::tuple_cat(Base::inheritedMembers(),
                          LUM_MEMBER_ROWS(LUM_IP_ONE_IMAGE_OPERATOR_PROPERTIES),
                          lum::members(method<&lcIPOneImageOperatorImpl::Execute>(
                                           L"Execute", DISPID_LumIPOneImageOperator_Execute)
                                           .optionalFrom(1)
                                           .defaultFor(1, lumRegionModePixelAlignedBoundingBox)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_ONE_IMAGE_OPERATOR_PROPERTIES)

  HRESULT Execute(ILumImage* input, LONG regionMode, ILumRegion* region,
                  ILumImage** output) override {
    if (HRESULT hr = lcClearOutPointers(output); FAILED(hr)) return hr;
    return callBoundary(this->context(L"Execute"), [&] {
      const auto params = this->self().snapshot();
      lum::detail::OneImageKernelAdaptor<T, std::decay_t<decltype(params)>> kernel{params};
      const lcImageRequest request{input, regionMode, region, T::kFrame.writeIntoInput};
      *output = lum::detail::runFrame(T::kFrame, kernel, request).detach();
    });
  }

  // The parameters as they are now, copied under the lock.
  Params snapshot() {
    lcLockGuard guard(this->core().lock());
    return static_cast<const Params&>(*this);
  }

 protected:
  lcIPOneImageOperatorImpl() = default;
};
