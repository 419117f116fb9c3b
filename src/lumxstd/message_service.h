#pragma once
// The message service: texts and help files of the library's messages. Created by class
// identifier, used for one look-up, released.

#include "components/framework/class_declaration.h"
#include "lumxip/HalvexCore.h"

namespace lumxstd {

class MessageService final : public lum::ComObject<ILumMessageService> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumMessageService, L"CLumMessageService",
                                             L"Halvex.LumMessageService", 1,
                                             L"Message texts and help files"};
  static HRESULT createInstance(IUnknown* outer, REFIID iid, void** object);

  HRESULT Initialize(void* module) override;
  HRESULT GetMessageText(ULONG messageId, LPOLESTR buffer, ULONG capacity) override;
  HRESULT GetMessageTextWithArgs(ULONG messageId, LPCOLESTR argument1, LPCOLESTR argument2,
                                 LPCOLESTR argument3, LPOLESTR buffer, ULONG capacity) override;
  HRESULT GetMessageBstr(ULONG messageId, BSTR* text) override;
  HRESULT GetHelpFile(ULONG messageId, BSTR* helpFile) override;

 private:
  bool initialized_ = false;
};

}  // namespace lumxstd
