#include "components/framework/tool_base.h"

namespace lcTool {

namespace {
template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  throwIfFailed(CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<I>, object.putVoid()));
  return object;
}
}  // namespace

ComPtr<ILumStringCollection> makeExposed(std::span<const lcExposedProperty> entries) {
  auto collection = create<ILumStringCollection>(CLSID_LumStringCollection);
  for (const lcExposedProperty& entry : entries)
    throwIfFailed(collection->Add(lum::Bstr(entry.descriptor).get(), lum::Bstr(entry.key).get()));
  return collection;
}

ComPtr<ILumRecord> makeRecord(const wchar_t* key) {
  auto record = create<ILumRecord>(CLSID_LumRecord);
  throwIfFailed(record->Initialize(lum::Bstr(key).get()));
  return record;
}

ComPtr<ILumRecord> addSubRecord(ILumRecord& parent, const wchar_t* key, LONG contentType,
                                LONG usage, LONG integer, IUnknown* content,
                                const wchar_t* annotation) {
  ComPtr<ILumRecord> sub;
  lum::Variant value(content);
  throwIfFailed(parent.AddSubRecord(lum::Bstr(key).get(), contentType, usage, integer, value.get(),
                                    lum::Bstr(annotation ? annotation : key).get(), 0, 0,
                                    sub.put()));
  return sub;
}

double elapsed(ILumStopwatch& timer) {
  double milliseconds = 0;
  throwIfFailed(timer.get_ElapsedTime(&milliseconds));
  return milliseconds;
}

RunMessage messageOf(const lcBoundaryOutcome& outcome) {
  RunMessage text;
  if (outcome.caught == lcCaught::nothing || outcome.caught == lcCaught::coreException) return text;
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) != S_OK || !info) return text;
  info->GetDescription(text.message.put());
  info->GetSource(text.source.put());
  SetErrorInfo(0, info.get());  // the failure stays reported on the thread
  return text;
}

void setStatus(ILumRunStatus& status, HRESULT result, const RunMessage& text, double processing,
               double total) {
  ComPtr<ILumRunStatusSetting> setting;
  throwIfFailed(status.QueryInterface(iid_of<ILumRunStatusSetting>, setting.putVoid()));
  throwIfFailed(
      setting->SetStatus(result, text.message.get(), processing, total, text.source.get()));
}

}  // namespace lcTool
