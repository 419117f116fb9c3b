#pragma once
// LumImageSharpness: one sharpness score of an 8-bit grey image within a region's
// bounding box, by the measure its Mode selects.

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "ip/sharpness/sharpness.h"
#include "lumxip/ip/image_sharpness.h"

LUM_PARAMETERS(lcImageSharpnessFields, LUM_IMAGE_SHARPNESS_PROPERTIES);

class LUM_VISIBLE CLumImageSharpness final
    : public lcStdPersistAndChangeImpl<CLumImageSharpness, ILumImageSharpness>,
      public lcImageSharpnessFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImageSharpness,
                                             L"CLumImageSharpness",
                                             L"Halvex.LumImageSharpness",
                                             1,
                                             L"Sharpness score of an image, for focusing",
                                             nullptr,
                                             L"LumImageSharpnessStateIDs"};
  static constexpr auto ownMembers() {
    // The two band-pass frequencies raise their functional area besides flag 1.
    auto rows = LUM_MEMBER_ROWS(LUM_IMAGE_SHARPNESS_PROPERTIES);
    constexpr LONG kFlags = lumChangeSetByClient | lumFA_ImageSharpness_BandPassFrequencies;
    std::get<3>(rows) = std::get<3>(rows).flags(kFlags);
    std::get<4>(rows) = std::get<4>(rows).flags(kFlags);
    return std::tuple_cat(
        rows,
        lum::members(
            method<&Self::Execute>(L"Execute", DISPID_LumImageSharpness_Execute).optionalFrom(1)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_IMAGE_SHARPNESS_PROPERTIES)

  HRESULT Execute(ILumImage* input, ILumRegion* region, double* score) override;

  // Under the lock: a frequency put past the other takes it along.
  void afterPropertyStored(DISPID id);
  // Loading keeps both frequencies as they were saved.
  void afterPropertyLoaded(DISPID) {}
  // Raises the change of both frequencies when one took the other along.
  void afterPropertyChanged(DISPID id);

  // The core parameters of `fields`, after checking the window for the mode; throws.
  static lcImageSharpnessDefs::Params coreParams(const lcImageSharpnessFields& fields,
                                                 int32_t width, int32_t height);

 private:
  bool tookAlong_ = false;  // a put moved the other frequency, until the change is raised
};
