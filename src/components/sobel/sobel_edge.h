#pragma once
// LumSobelEdge: the Sobel edges of an 8-bit grey image within a region, optionally
// thinned by peak detection or cut by hysteresis thresholding, returned as a
// LumSobelEdgeResult holding the angle, magnitude and final magnitude images.

#include <memory>

#include "components/framework/component.h"
#include "components/framework/declared_properties.h"
#include "components/framework/prepared_state.h"
#include "ip/sobel95/sobel_edge.h"
#include "lumxip/ip/sobel_edge.h"

LUM_PARAMETERS(lcSobelEdgeResultFields, LUM_SOBEL_EDGE_RESULT_PROPERTIES);

class LUM_VISIBLE CLumSobelEdgeResult final
    : public lcStdPersistAndChangeImpl<CLumSobelEdgeResult, ILumSobelEdgeResult>,
      public lcSobelEdgeResultFields {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumSobelEdgeResult,          L"CLumSobelEdgeResult",
      L"Halvex.LumSobelEdgeResult",      1,
      L"The images of a Sobel edge run", nullptr,
      L"LumSobelEdgeResultStateIDs"};
  LUM_DECLARED_PROPERTIES(LUM_SOBEL_EDGE_RESULT_PROPERTIES)

  // A new result holding the three images; raises nothing (nobody listens yet).
  static ComPtr<ILumSobelEdgeResult> make(ComPtr<ILumImage> angle, ComPtr<ILumImage> magnitude,
                                          ComPtr<ILumImage> final);
};

LUM_PARAMETERS(lcSobelEdgeFields, LUM_SOBEL_EDGE_ALL_PROPERTIES);

// The images of one run as buffers; `final` views the magnitude when nothing followed.
struct lcSobelEdgeBuffers {
  lcPelBuffer<uint8_t> angle, magnitude, final;
  bool finalIsMagnitude = false;
};

class LUM_VISIBLE CLumSobelEdge final
    : public lcStdPersistAndChangeImpl<CLumSobelEdge, ILumSobelEdge>,
      public lcSobelEdgeFields {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumSobelEdge,      L"CLumSobelEdge", L"Halvex.LumSobelEdge", 1,
      L"Sobel edge detection", nullptr,          L"LumSobelEdgeStateIDs"};
  static constexpr auto ownMembers() {
    // The list's rows, the two thresholds raising their functional area besides flag 1.
    auto rows = LUM_MEMBER_ROWS(LUM_SOBEL_EDGE_PROPERTIES);
    constexpr LONG kFlags = lumChangeSetByClient | lumFA_SobelEdge_HysteresisThresholds;
    std::get<4>(rows) = std::get<4>(rows).flags(kFlags);
    std::get<5>(rows) = std::get<5>(rows).flags(kFlags);
    return std::tuple_cat(
        rows,
        lum::members(method<&Self::SetHysteresisThresholds>(
            L"SetHysteresisThresholds", DISPID_LumSobelEdge_SetHysteresisThresholds)),
        LUM_MEMBER_ROWS(LUM_SOBEL_EDGE_PEL_VALUE_PROPERTIES),
        lum::members(
            method<&Self::Execute>(L"Execute", DISPID_LumSobelEdge_Execute).optionalFrom(1)));
  }
  LUM_PROPERTY_ACCESSORS(LUM_SOBEL_EDGE_ALL_PROPERTIES)

  HRESULT SetHysteresisThresholds(LONG low, LONG high) override;
  HRESULT Execute(ILumImage* input, ILumRegion* region, ILumSobelEdgeResult** result) override;

  // Under the lock: a new scale makes a new detector; a threshold that passes the other
  // takes it along.
  void afterPropertyStored(DISPID id);
  // Loading keeps both thresholds as they were saved.
  void afterPropertyLoaded(DISPID id);
  // Raises the change of a threshold taken along.
  void afterPropertyChanged(DISPID id);

  struct Snapshot {
    lcSobelEdgeFields fields;
    std::shared_ptr<const lcSobelEdgeDetector> detector;
  };
  Snapshot snapshot();
  // Detection and post-processing of an input buffer.
  static lcSobelEdgeBuffers run(const lcPelBuffer<uint8_t>& source, const Snapshot& settings);

 private:
  void fireThreshold(DISPID id, LONG value);

  lcPreparedState<lcSobelEdgeDetector> detector_;
  DISPID takenAlong_ = 0;  // the threshold a put moved with it, until its change is raised
};
