#pragma once
// The convolution operators: LumIPOneImageConvolve3x3 (nine weights), LumIPOneImageConvolveNxM
// (an odd-sized kernel of any size) and LumIPOneImageHighPassFilter. They filter 8-bit
// grey images and colour images plane by plane; each prepares its integer kernel from
// its properties once per change.

#include <array>
#include <memory>

#include "components/framework/prepared_state.h"
#include "components/oneimage/operator_impl.h"
#include "ip/conv/convolve3x3.h"
#include "ip/conv/convolve_nxm.h"
#include "ip/conv/high_pass.h"
#include "lumxip/ip/convolution.h"

inline constexpr lcOneImageFrame kConvolutionFrame{lcImageFormatGrey8 | lcImageFormatPlanar24};

LUM_PARAMETERS(lcConvolve3x3Fields, LUM_IP_CONVOLVE_3X3_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageConvolve3x3 final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageConvolve3x3, ILumIPOneImageConvolve3x3,
                                      lcConvolve3x3Fields> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageConvolve3x3,
                                             L"CLumIPOneImageConvolve3x3",
                                             L"Halvex.LumIPOneImageConvolve3x3",
                                             1,
                                             L"3 x 3 convolution",
                                             L"LumIPOneImageCtl.LumIPConvolve3x3Edit",
                                             L"LumIPOneImageConvolve3x3StateIDs"};
  static constexpr lcOneImageFrame kFrame = kConvolutionFrame;
  static constexpr auto ownMembers() {
    return std::tuple_cat(LUM_MEMBER_ROWS(LUM_IP_CONVOLVE_3X3_PROPERTIES),
                          lum::members(indexedProp<&Self::get_KernelValue, &Self::put_KernelValue>(
                                           L"KernelValue", lumIPOneImageConvolve3x3_KernelValue),
                                       indexedProp<&Self::get_Kernel, &Self::put_Kernel>(
                                           L"Kernel", lumIPOneImageConvolve3x3_Kernel)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_CONVOLVE_3X3_PROPERTIES)

  HRESULT get_KernelValue(LumIPOneImageConvolve3x3PositionConstants position,
                          double* value) override;
  HRESULT put_KernelValue(LumIPOneImageConvolve3x3PositionConstants position,
                          double value) override;
  HRESULT get_Kernel(ILumCollection** weights) override;
  HRESULT put_Kernel(ILumCollection* weights) override;

  using Snapshot = std::shared_ptr<const lcConvolve3x3Params>;
  Snapshot snapshot();
  void afterPropertyStored(DISPID id);
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Snapshot& kernel, int plane);

 private:
  std::array<double, 9> weights();  // under the lock
  void storeWeights(const std::array<double, 9>& weights, DISPID stateId,
                    const lum::Variant& value);

  lcPreparedState<lcConvolve3x3Params> prepared_;
};

LUM_PARAMETERS(lcConvolveNxMFields, LUM_IP_CONVOLVE_NXM_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageConvolveNxM final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageConvolveNxM, ILumIPOneImageConvolveNxM,
                                      lcConvolveNxMFields> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageConvolveNxM,
                                             L"CLumIPOneImageConvolveNxM",
                                             L"Halvex.LumIPOneImageConvolveNxM",
                                             1,
                                             L"N x M convolution",
                                             L"LumIPOneImageCtl.LumIPConvolveNxMEdit",
                                             L"LumIPOneImageConvolveNxMStateIDs"};
  static constexpr lcOneImageFrame kFrame = kConvolutionFrame;
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_IP_CONVOLVE_NXM_PROPERTIES),
        lum::members(
            indexedProp<&Self::get_KernelWidth, &Self::put_KernelWidth>(
                L"KernelWidth", lumIPOneImageConvolveNxM_KernelWidth),
            indexedProp<&Self::get_KernelHeight, &Self::put_KernelHeight>(
                L"KernelHeight", lumIPOneImageConvolveNxM_KernelHeight),
            method<&Self::GetKernelValue>(L"GetKernelValue",
                                          lumIPOneImageConvolveNxM_GetKernelValue),
            method<&Self::SetKernelValue>(
                L"SetKernelValue", lcSetterDispatchId(lumIPOneImageConvolveNxM_GetKernelValue))
                .withoutResult()));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_CONVOLVE_NXM_PROPERTIES)

  HRESULT FinalConstruct();
  HRESULT get_KernelWidth(LONG* width) override;
  HRESULT put_KernelWidth(LONG width) override;
  HRESULT get_KernelHeight(LONG* height) override;
  HRESULT put_KernelHeight(LONG height) override;
  HRESULT GetKernelValue(LONG column, LONG row, double* value) override;
  HRESULT SetKernelValue(LONG column, LONG row, double value) override;
  // The kernel values as the bytes of a core archive ("RawKernel").
  void persistCustom(ILumArchive& archive, LONG mode);

  using Snapshot = std::shared_ptr<const lcConvolveNxMParams>;
  Snapshot snapshot();
  void afterPropertyStored(DISPID) { prepared_.markStale(); }
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Snapshot& kernel, int plane);

 private:
  void resize(LONG width, LONG height, DISPID stateId, LONG area);
  void checkCell(LONG column, LONG row);

  lcPelBuffer<double> kernel_;  // replaced, never written, once shared with a snapshot
  lcPreparedState<lcConvolveNxMParams> prepared_;
};

LUM_PARAMETERS(lcHighPassFilterParams, LUM_IP_HIGH_PASS_FILTER_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageHighPassFilter final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageHighPassFilter, ILumIPOneImageHighPassFilter,
                                      lcHighPassFilterParams> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageHighPassFilter,
                                             L"CLumIPOneImageHighPassFilter",
                                             L"Halvex.LumIPOneImageHighPassFilter",
                                             1,
                                             L"High-pass filter: the image less its smoothing",
                                             L"LumIPOneImageCtl.LumIPHighPassFilterEdit",
                                             L"LumIPOneImageHighPassFilterStateIDs"};
  static constexpr lcOneImageFrame kFrame = kConvolutionFrame;
  LUM_DECLARED_PROPERTIES(LUM_IP_HIGH_PASS_FILTER_PROPERTIES)

  HRESULT get_SigmaX(double* sigma) override;
  HRESULT get_SigmaY(double* sigma) override;
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
};
