#include "components/framework/event_info.h"

HRESULT lcEventInfo::get_EventDispID(LONG* dispid) {
  if (dispid == nullptr) return E_POINTER;
  *dispid = dispid_;
  return S_OK;
}

HRESULT lcEventInfo::get_ArgumentCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = static_cast<LONG>(args_.size());
  return S_OK;
}

HRESULT lcEventInfo::GetArgument(LONG index, VARIANT* argument) {
  if (argument == nullptr) return E_POINTER;
  VariantInit(argument);
  if (index < 0 || static_cast<std::size_t>(index) >= args_.size()) return E_INVALIDARG;
  return VariantCopy(argument, args_[index].ptr());
}

HRESULT lcEventInfo::get_Sender(IUnknown** item) {
  if (item == nullptr) return E_POINTER;
  return sender_.copyTo(item);
}

HRESULT lcEventInfo::get_SenderIndex(LONG* index) {
  if (index == nullptr) return E_POINTER;
  *index = senderIndex_;
  return S_OK;
}

HRESULT lcEventInfo::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT lcEventInfo::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT lcEventInfo::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return lcDispatcher<lcEventInfo>::idsOfNames(names, count, ids);
}

HRESULT lcEventInfo::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                            VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  return lcDispatcher<lcEventInfo>::invoke(*this, id, flags, params, result, exception,
                                           argumentError);
}
