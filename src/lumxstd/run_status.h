#pragma once
// LumRunStatus: the outcome of a tool's run. Hosts read it; the tool writes all five
// values at once through ILumRunStatusSetting.

#include "components/framework/component.h"

namespace lumxstd {

class LUM_VISIBLE CLumRunStatus final
    : public lcStdPersistAndChangeImpl<CLumRunStatus, ILumRunStatus, DIID_ILumChangeEvent,
                                       ILumRunStatusSetting> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumRunStatus, L"CLumRunStatus",
                                             L"Halvex.LumRunStatus", 1, L"Outcome of a tool run"};
  static constexpr auto ownMembers() {
    return lum::members(
        prop<&Self::resultCode_>(L"ResultCode", lumRunStatus_ResultCode).readOnly(),
        prop<&Self::message_>(L"Message", lumRunStatus_Message).readOnly(),
        prop<&Self::processingTime_>(L"ProcessingTime", lumRunStatus_ProcessingTime).readOnly(),
        prop<&Self::totalTime_>(L"TotalTime", lumRunStatus_TotalTime).readOnly(),
        prop<&Self::errorSource_>(L"ErrorSource", lumRunStatus_ErrorSource).readOnly(),
        method<&Self::SetStatus>(L"SetStatus", DISPID_LumRunStatus_SetStatus));
  }
  LUM_PROPERTY_GET(ResultCode, LONG, resultCode_)
  LUM_PROPERTY_GET(Message, BSTR, message_)
  LUM_PROPERTY_GET(ProcessingTime, double, processingTime_)
  LUM_PROPERTY_GET(TotalTime, double, totalTime_)
  LUM_PROPERTY_GET(ErrorSource, BSTR, errorSource_)

  // One change event (several states) when anything differs.
  HRESULT SetStatus(LONG resultCode, BSTR message, double processingTime, double totalTime,
                    BSTR errorSource) override;

 private:
  LONG resultCode_;
  lum::Bstr message_;
  double processingTime_;
  double totalTime_;
  lum::Bstr errorSource_;
};

}  // namespace lumxstd
