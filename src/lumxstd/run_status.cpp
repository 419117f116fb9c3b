#include "lumxstd/run_status.h"

namespace lumxstd {

HRESULT CLumRunStatus::SetStatus(LONG resultCode, BSTR message, double processingTime,
                                 double totalTime, BSTR errorSource) {
  return callBoundary(context(L"SetStatus"), [&] {
    lum::Bstr newMessage(lum::bstrView(message));
    lum::Bstr newSource(lum::bstrView(errorSource));
    {
      lcLockGuard guard(core().lock());
      if (resultCode_ == resultCode && message_ == newMessage &&
          processingTime_ == processingTime && totalTime_ == totalTime && errorSource_ == newSource)
        return;
      resultCode_ = resultCode;
      std::swap(message_, newMessage);  // the old texts are freed after the lock
      processingTime_ = processingTime;
      totalTime_ = totalTime;
      std::swap(errorSource_, newSource);
    }
    core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
  });
}

}  // namespace lumxstd
