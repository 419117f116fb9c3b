#include "components/framework/com_error.h"

#include "components/framework/message_service_client.h"

namespace {

bool isFacility4(HRESULT code) {
  return (static_cast<uint32_t>(code) & 0xFFFF0000u) == 0x80040000u;
}

}  // namespace

lcCOMError::lcCOMError(HRESULT result_, int mergeMode_, uint32_t messageId,
                       const lcMessageArgs* args, uint32_t helpContext_)
    : result(result_), mergeMode(mergeMode_), helpContext(helpContext_ ? helpContext_ : messageId) {
  if (mergeMode != 0) GetErrorInfo(0, pending.put());
  std::wstring text;
  if (messageId != 0) {
    auto found = args ? lum::messageText(messageId, *args) : lum::messageText(messageId);
    text = found ? *found : lum::unableToLoadMessage(messageId);
  }
  if (pending) {
    lum::Bstr pendingText, pendingHelpFile;
    pending->GetDescription(pendingText.put());
    pending->GetHelpFile(pendingHelpFile.put());
    if (!pendingText.empty()) {
      if (!text.empty()) text += L"\r\n";
      text += pendingText.view();
    }
    // The callee's help, when it has any, describes the failure best.
    if (!pendingHelpFile.empty()) {
      DWORD pendingContext = 0;
      pending->GetHelpContext(&pendingContext);
      helpContext = pendingContext;
      helpFile = std::move(pendingHelpFile);
    }
  }
  description = lum::Bstr(text);
}

lcCOMError lcCOMError::withDescription(HRESULT result, std::wstring_view text) {
  lcCOMError error;
  error.result = result;
  error.mergeMode = 0;
  error.helpContext = 0;
  error.description = lum::Bstr(text);
  return error;
}

void throwInvalidArgument(uint32_t messageId, const lcMessageArgs& args) {
  throw lcCOMError(E_INVALIDARG, 0, messageId, &args);
}

uint32_t messageIdForResult(HRESULT code, int mergeMode) {
  if (isFacility4(code)) return mergeMode == 2 ? 0 : static_cast<uint32_t>(code);
  switch (static_cast<uint32_t>(code)) {
    case 0x80004005:
      return 0x80048080;  // E_FAIL
    case 0x8000FFFF:
      return 0x80048081;  // E_UNEXPECTED
    case 0x8007000E:
      return 0x80048082;  // E_OUTOFMEMORY
    case 0x80070057:
      return 0x80048083;  // E_INVALIDARG
    case 0x80004003:
      return 0x80048084;  // E_POINTER
    case 0x80004002:
      return 0x80048085;  // E_NOINTERFACE
    case 0x80020003:
      return 0x80048086;  // DISP_E_MEMBERNOTFOUND
    case 0x80020005:
      return 0x80048087;  // DISP_E_TYPEMISMATCH
    case 0x8002000A:
      return 0x80048088;  // DISP_E_OVERFLOW
    case 0x8002000B:
      return 0x80048089;  // DISP_E_BADINDEX
    case 0x8002000E:
      return 0x8004808A;  // DISP_E_BADPARAMCOUNT
    case 0x8002000F:
      return 0x8004808B;  // DISP_E_PARAMNOTOPTIONAL
    case 0x80020006:
      return 0x8004808C;  // DISP_E_UNKNOWNNAME
    case 0x80080004:
      return 0x8004808D;  // CO_E_BAD_PATH
    case 0x00000000:
      return 0x80048400;  // S_OK
    default:
      return 0;
  }
}
