#pragma once
// LumStopwatch: times a tool's run on the steady clock, in milliseconds. It raises no
// change events: its reading changes all the time, and nobody sets it.

#include <chrono>

#include "components/framework/component.h"

namespace lumxstd {

class LUM_VISIBLE CLumStopwatch final
    : public lcStdPersistAndChangeImpl<CLumStopwatch, ILumStopwatch> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumStopwatch, L"CLumStopwatch",
                                             L"Halvex.LumStopwatch", 1,
                                             L"Stopwatch in milliseconds"};
  static constexpr auto ownMembers() {
    return lum::members(
        method<&Self::Reset>(L"Reset", DISPID_LumStopwatch_Reset),
        method<&Self::Start>(L"Start", DISPID_LumStopwatch_Start),
        method<&Self::Stop>(L"Stop", DISPID_LumStopwatch_Stop),
        indexedProp<&Self::get_ElapsedTime>(L"ElapsedTime", DISPID_LumStopwatch_ElapsedTime),
        indexedProp<&Self::get_Running>(L"Running", DISPID_LumStopwatch_Running));
  }

  HRESULT Reset() override;
  HRESULT Start() override;
  HRESULT Stop() override;
  HRESULT get_ElapsedTime(double* milliseconds) override;
  HRESULT get_Running(VARIANT_BOOL* running) override;

  // The reading is saved ("ElapsedTime"); a loaded or cloned stopwatch stands stopped at it.
  void persistCustom(ILumArchive& archive, LONG mode);

 private:
  using Clock = std::chrono::steady_clock;
  double reading() const;  // call under the lock

  double accumulated_ = 0;  // milliseconds up to the last Stop
  bool running_ = false;
  Clock::time_point started_;
};

}  // namespace lumxstd
