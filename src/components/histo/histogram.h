#pragma once
// LumHistogram: counts the grey values of an 8-bit or 16-bit grey image within a region
// and a care mask into bins, and returns a LumHistogramResult holding the counts and
// their statistics.

#include <cstdint>
#include <vector>

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "lumxip/ip/histogram.h"

LUM_PARAMETERS(lcHistogramResultFields, LUM_HISTOGRAM_RESULT_PROPERTIES);

class LUM_VISIBLE CLumHistogramResult final
    : public lcStdPersistAndChangeImpl<CLumHistogramResult, ILumHistogramResult>,
      public lcHistogramResultFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumHistogramResult,
                                             L"CLumHistogramResult",
                                             L"Halvex.LumHistogramResult",
                                             1,
                                             L"The counts and statistics of a histogram run",
                                             nullptr,
                                             L"LumHistogramResultStateIDs"};
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_HISTOGRAM_RESULT_PROPERTIES),
        lum::members(method<&Self::GetInverseCumulativeGreyLevel>(
                         L"GetInverseCumulativeGreyLevel",
                         DISPID_LumHistogramResult_GetInverseCumulativeGreyLevel),
                     method<&Self::CreateResultGraphics>(
                         L"CreateResultGraphics", DISPID_LumHistogramResult_CreateResultGraphics)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_HISTOGRAM_RESULT_PROPERTIES)

  HRESULT GetInverseCumulativeGreyLevel(LONG percent, LONG* bin) override;
  HRESULT CreateResultGraphics(LONG options, IDispatch** graphics) override;

  // A new result over `bins` (one per result bin) and their statistics; raises nothing.
  // lcHistoStats::Overflow when the counts sum beyond 32 bits.
  static ComPtr<ILumHistogramResult> make(const std::vector<uint64_t>& bins);
};

LUM_PARAMETERS(lcHistogramFields, LUM_HISTOGRAM_PROPERTIES);

class LUM_VISIBLE CLumHistogram final
    : public lcStdPersistAndChangeImpl<CLumHistogram, ILumHistogram>,
      public lcHistogramFields {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumHistogram,
                                             L"CLumHistogram",
                                             L"Halvex.LumHistogram",
                                             1,
                                             L"Grey-value histogram and its statistics",
                                             nullptr,
                                             L"LumHistogramStateIDs"};
  // Persisted in this order: the counting properties, then the region and bin modes.
  static constexpr auto ownMembers() {
    return std::tuple_cat(
        LUM_MEMBER_ROWS(LUM_HISTOGRAM_COUNT_PROPERTIES),
        LUM_MEMBER_ROWS(LUM_HISTOGRAM_REGION_PROPERTIES),
        LUM_MEMBER_ROWS(LUM_HISTOGRAM_BIN_PROPERTIES),
        lum::members(
            method<&Self::Execute>(L"Execute", DISPID_LumHistogram_Execute).optionalFrom(1)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_HISTOGRAM_PROPERTIES)

  HRESULT Execute(ILumImage* input, ILumRegion* region, ILumHistogramResult** result) override;

  // The result bins of `input` within `region` as `settings` say; throws.
  static std::vector<uint64_t> count(ILumImage* input, ILumRegion* region,
                                     const lcHistogramFields& settings);
};
