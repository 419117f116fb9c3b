#pragma once
// The median operators: LumIPOneImageMedian3x3 (8-bit grey) and LumIPOneImageMedianNxM
// (8-bit grey, 16-bit grey and range images, with a kernel mask and a mask image).

#include "components/oneimage/kernel_grid.h"
#include "components/oneimage/operator_impl.h"
#include "ip/median/median3x3.h"
#include "ip/median/median_nxm.h"
#include "lumxip/ip/median.h"

LUM_PARAMETERS(lcMedian3x3Fields, LUM_IP_MEDIAN_3X3_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageMedian3x3 final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageMedian3x3, ILumIPOneImageMedian3x3,
                                      lcMedian3x3Fields> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageMedian3x3,
                                             L"CLumIPOneImageMedian3x3",
                                             L"Halvex.LumIPOneImageMedian3x3",
                                             1,
                                             L"3 x 3 median",
                                             L"LumIPOneImageCtl.LumIPMedian3x3Edit",
                                             L"LumIPOneImageMedian3x3StateIDs"};
  static constexpr lcOneImageFrame kFrame{lcImageFormatGrey8};
  LUM_DECLARED_PROPERTIES(LUM_IP_MEDIAN_3X3_PROPERTIES)

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters&, int);
};

LUM_PARAMETERS(lcMedianNxMFields, LUM_IP_MEDIAN_NXM_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageMedianNxM final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageMedianNxM, ILumIPOneImageMedianNxM,
                                      lcMedianNxMFields> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPOneImageMedianNxM,
                                             L"CLumIPOneImageMedianNxM",
                                             L"Halvex.LumIPOneImageMedianNxM",
                                             1,
                                             L"N x M median",
                                             L"LumIPOneImageCtl.LumIPMedianNxMEdit",
                                             L"LumIPOneImageMedianNxMStateIDs"};
  static constexpr lcOneImageFrame kFrame{
      lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatRange16, true};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        lum::members(
            indexedProp<&Self::get_KernelWidth, &Self::put_KernelWidth>(
                L"KernelWidth", lumIPOneImageMedianNxM_KernelWidth),
            indexedProp<&Self::get_KernelHeight, &Self::put_KernelHeight>(
                L"KernelHeight", lumIPOneImageMedianNxM_KernelHeight),
            method<&Self::GetMaskValue>(L"GetMaskValue", lumIPOneImageMedianNxM_GetMaskValue),
            method<&Self::SetMaskValue>(L"SetMaskValue",
                                        lcSetterDispatchId(lumIPOneImageMedianNxM_GetMaskValue))
                .withoutResult()),
        LUM_MEMBER_ROWS(LUM_IP_MEDIAN_NXM_PROPERTIES));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IP_MEDIAN_NXM_PROPERTIES)

  HRESULT get_KernelWidth(LONG* width) override;
  HRESULT put_KernelWidth(LONG width) override;
  HRESULT get_KernelHeight(LONG* height) override;
  HRESULT put_KernelHeight(LONG height) override;
  HRESULT GetMaskValue(LONG column, LONG row, VARIANT_BOOL* care) override;
  HRESULT SetMaskValue(LONG column, LONG row, VARIANT_BOOL care) override;
  // The kernel mask as the bytes of a core archive ("KernelMask").
  void persistCustom(ILumArchive& archive, LONG mode);

  using Snapshot = lcMedianNxMParams;
  Snapshot snapshot();
  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Snapshot& p, int);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Snapshot& p);
  static void run(const lcPelBufferRange16& source, lcPelBufferRange16& result, const Snapshot& p);

 private:
  void resize(LONG width, LONG height, DISPID stateId, LONG area);

  lcKernelGrid<uint8_t> mask_{255};
};
