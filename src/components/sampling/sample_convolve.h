#pragma once
// LumIPOneImageSampleConvolve: separable convolution with two one-dimensional integer
// kernels, sampled at real rates, of 8-bit and 16-bit grey images. The kernels and the
// rates are saved together as one value, "LVLParams".

#include <vector>

#include "components/oneimage/operator_impl.h"
#include "ip/smplconv/sample_convolve.h"
#include "lumxip/ip/sampling.h"

LUM_PARAMETERS(lcSampleConvolveFields, LUM_IP_SAMPLE_CONVOLVE_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageSampleConvolve final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageSampleConvolve, ILumIPOneImageSampleConvolve,
                                      lcSampleConvolveFields> {
 public:
  // Dispatch IDs of the methods that have no state ID of their own.
  static constexpr DISPID kSetKernelXValue = 16863309;
  static constexpr DISPID kSetKernelYValue = 16863310;
  static constexpr DISPID kSetGaussSample = 16863311;
  static constexpr DISPID kSetGaussSigma = 16863312;

  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageSampleConvolve,
                                             L"CLumIPOneImageSampleConvolve",
                                             L"Halvex.LumIPOneImageSampleConvolve",
                                             1,
                                             L"Separable convolution sampled at real rates",
                                             L"LumIPOneImageCtl.LumIPSampleConvolveEdit",
                                             L"LumIPOneImageSampleConvolveStateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8 | lcImageFormatGrey16};
  static constexpr auto ownMembers() {
    constexpr auto rate = greaterThan(0.0, L"0");
    return lum::members(
        prop<&Self::SampleX>(L"SampleX", lumIPOneImageSampleConvolve_SampleX)
            .byDefault(1.0)
            .describedAs(L"Input columns from one output pixel to the next; fractions allowed")
            .notPersisted()
            .checkedBy(rate),
        prop<&Self::SampleY>(L"SampleY", lumIPOneImageSampleConvolve_SampleY)
            .byDefault(1.0)
            .describedAs(L"Input rows from one output pixel to the next; fractions allowed")
            .notPersisted()
            .checkedBy(rate),
        indexedProp<&Self::get_KernelXSize, &Self::put_KernelXSize>(
            L"KernelXSize", lumIPOneImageSampleConvolve_KernelXSize),
        indexedProp<&Self::get_KernelYSize, &Self::put_KernelYSize>(
            L"KernelYSize", lumIPOneImageSampleConvolve_KernelYSize),
        method<&Self::GetKernelXValue>(L"GetKernelXValue",
                                       lumIPOneImageSampleConvolve_GetKernelXValue),
        method<&Self::SetKernelXValue>(L"SetKernelXValue", kSetKernelXValue).withoutResult(),
        method<&Self::GetKernelYValue>(L"GetKernelYValue",
                                       lumIPOneImageSampleConvolve_GetKernelYValue),
        method<&Self::SetKernelYValue>(L"SetKernelYValue", kSetKernelYValue).withoutResult(),
        method<&Self::SetGaussSample>(L"SetGaussSample", kSetGaussSample).withoutResult(),
        method<&Self::SetGaussSigma>(L"SetGaussSigma", kSetGaussSigma).withoutResult());
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_SAMPLE_CONVOLVE_PROPERTIES)

  HRESULT FinalConstruct();
  HRESULT get_KernelXSize(LONG* size) override;
  HRESULT put_KernelXSize(LONG size) override;
  HRESULT get_KernelYSize(LONG* size) override;
  HRESULT put_KernelYSize(LONG size) override;
  HRESULT GetKernelXValue(LONG index, LONG* value) override;
  HRESULT SetKernelXValue(LONG index, LONG value) override;
  HRESULT GetKernelYValue(LONG index, LONG* value) override;
  HRESULT SetKernelYValue(LONG index, LONG value) override;
  HRESULT SetGaussSample(double sampleX, double sampleY) override;
  HRESULT SetGaussSigma(double sigmaX, double sigmaY) override;
  void persistCustom(ILumArchive& archive, LONG mode);

  lcSampleConvolveParams snapshot();
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const lcSampleConvolveParams& params, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const lcSampleConvolveParams& params);

 private:
  struct Axis;
  static const Axis kX, kY;

  HRESULT getSize(const Axis& axis, LONG* size);
  HRESULT putSize(const Axis& axis, LONG size);
  HRESULT getValue(const Axis& axis, LONG index, LONG* value);
  HRESULT setValue(const Axis& axis, LONG index, LONG value);
  // Stores kernels and rates; raises `stateId` with `flags` when anything changed.
  void store(std::vector<int32_t> kernelX, std::vector<int32_t> kernelY, double sampleX,
             double sampleY, LONG stateId, const lum::Variant& value, LONG flags);

  std::vector<int32_t> kernelX_{lcMaxSampleKernelWeight};
  std::vector<int32_t> kernelY_{lcMaxSampleKernelWeight};
};
