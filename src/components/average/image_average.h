#pragma once
// LumImageAverage: accumulates 8-bit grey frames (Add) and gives their pixel-wise
// average and standard deviation as new images placed like the first frame added.

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "ip/average/frame_average.h"
#include "lumxip/ip/image_average.h"

LUM_PARAMETERS(lcImageAverageFields, LUM_IMAGE_AVERAGE_PROPERTIES);

class LUM_VISIBLE CLumImageAverage final
    : public lcStdPersistAndChangeImpl<CLumImageAverage, ILumImageAverage>,
      public lcImageAverageFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImageAverage,
                                             L"CLumImageAverage",
                                             L"Halvex.LumImageAverage",
                                             1,
                                             L"Pixel-wise average of a sequence of images",
                                             nullptr,
                                             L"LumImageAverageStateIDs"};
  // The flag travels inside the persisted accumulation, so it is not saved on its own.
  static constexpr auto ownMembers() {
    auto rows = LUM_MEMBER_ROWS(LUM_IMAGE_AVERAGE_PROPERTIES);
    std::get<1>(rows) = std::get<1>(rows).notPersisted();
    return std::tuple_cat(
        rows,
        lum::members(
            method<&Self::Add>(L"Add", DISPID_LumImageAverage_Add).optionalFrom(1),
            method<&Self::Reset>(L"Reset", DISPID_LumImageAverage_Reset),
            method<&Self::ExecuteAverage>(L"ExecuteAverage", DISPID_LumImageAverage_ExecuteAverage),
            method<&Self::ExecuteStandardDeviation>(
                L"ExecuteStandardDeviation", DISPID_LumImageAverage_ExecuteStandardDeviation)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IMAGE_AVERAGE_PROPERTIES)

  HRESULT get_NumImages(LONG* count) override;
  HRESULT Add(ILumImage* input, ILumRegion* region) override;
  HRESULT Reset() override;
  HRESULT ExecuteAverage(ILumImage** average) override;
  HRESULT ExecuteStandardDeviation(ILumImage** deviation) override;

  // Under the lock: a new standard-deviation flag discards the accumulation.
  void afterPropertyStored(DISPID id);
  void afterPropertyLoaded(DISPID) {}
  // The accumulation as "FrameAverageBuffer"; loading it also sets the flag.
  void persistCustom(ILumArchive& archive, LONG mode);

 private:
  lcFrameAverageBuffer buffer_;
  // A pixel-less image holding the first frame's coordinate-space information, which
  // the output images receive; none after a reset or a load.
  ComPtr<ILumImage> placement_;
};
