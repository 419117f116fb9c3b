#pragma once
// The value of a collection's "item changed" event (state ID -2): which event an item
// raised, with what arguments, and where the item stands.

#include <vector>

#include "components/framework/dispatch_impl.h"
#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"

class LUM_VISIBLE lcEventInfo final : public lum::ComObject<ILumEventInfo> {
 public:
  lcEventInfo(DISPID dispid, std::vector<lum::Variant> args, IUnknown* sender, LONG senderIndex)
      : dispid_(dispid), args_(std::move(args)), sender_(sender), senderIndex_(senderIndex) {}

  static constexpr auto allMembers() {
    return lum::members(indexedProp<&lcEventInfo::get_EventDispID>(L"EventDispID", 1),
                        indexedProp<&lcEventInfo::get_ArgumentCount>(L"ArgumentCount", 2),
                        method<&lcEventInfo::GetArgument>(L"GetArgument", 3),
                        indexedProp<&lcEventInfo::get_Sender>(L"Sender", 4),
                        indexedProp<&lcEventInfo::get_SenderIndex>(L"SenderIndex", 5));
  }

  HRESULT get_EventDispID(LONG* dispid) override;
  HRESULT get_ArgumentCount(LONG* count) override;
  HRESULT GetArgument(LONG index, VARIANT* argument) override;
  HRESULT get_Sender(IUnknown** item) override;
  HRESULT get_SenderIndex(LONG* index) override;

  HRESULT GetTypeInfoCount(UINT* count) override;
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override;
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* exception, UINT* argumentError) override;

 private:
  const DISPID dispid_;
  const std::vector<lum::Variant> args_;
  const ComPtr<IUnknown> sender_;
  const LONG senderIndex_;
};
