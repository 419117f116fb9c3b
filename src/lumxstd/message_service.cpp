#include "lumxstd/message_service.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "lumxstd/message_texts.h"

namespace lumxstd {
namespace {

// The service's own "no text" result: a failure code of the core object library.
constexpr HRESULT kNoText = hresultFrom(0x8004C004);

HRESULT copyInto(std::wstring_view text, LPOLESTR buffer, ULONG capacity) {
  if (buffer == nullptr || capacity == 0) return E_POINTER;
  const std::size_t n = std::min<std::size_t>(text.size(), capacity - 1);
  std::wmemcpy(buffer, text.data(), n);
  buffer[n] = L'\0';
  return S_OK;
}

// Replaces "%1".."%3" by the arguments; other markers stay as they are.
std::wstring withArguments(std::wstring_view text, const LPCOLESTR (&arguments)[3]) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 1 < text.size() && text[i + 1] >= L'1' && text[i + 1] <= L'3') {
      const LPCOLESTR argument = arguments[text[i + 1] - L'1'];
      out += argument ? argument : L"";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

HRESULT MessageService::createInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  try {
    return lum::makeComObject<MessageService>()->QueryInterface(iid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT MessageService::Initialize(void*) {
  initialized_ = true;
  return S_OK;
}

HRESULT MessageService::GetMessageText(ULONG messageId, LPOLESTR buffer, ULONG capacity) {
  const std::wstring_view text = messageTextFor(messageId);
  if (!initialized_ || text.empty()) return kNoText;
  return copyInto(text, buffer, capacity);
}

HRESULT MessageService::GetMessageTextWithArgs(ULONG messageId, LPCOLESTR argument1,
                                               LPCOLESTR argument2, LPCOLESTR argument3,
                                               LPOLESTR buffer, ULONG capacity) {
  const std::wstring_view text = messageTextFor(messageId);
  if (!initialized_ || text.empty()) return kNoText;
  try {
    const LPCOLESTR arguments[3] = {argument1, argument2, argument3};
    return copyInto(withArguments(text, arguments), buffer, capacity);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT MessageService::GetMessageBstr(ULONG messageId, BSTR* text) {
  if (text == nullptr) return E_POINTER;
  *text = nullptr;
  const std::wstring_view found = messageTextFor(messageId);
  if (!initialized_ || found.empty()) return kNoText;
  return lum::allocBstr(found, text);
}

HRESULT MessageService::GetHelpFile(ULONG messageId, BSTR* helpFile) {
  if (helpFile == nullptr) return E_POINTER;
  *helpFile = nullptr;
  if (!initialized_ || messageTextFor(messageId).empty()) return kNoText;
  return lum::allocBstr(kMessageHelpFile, helpFile);
}

}  // namespace lumxstd
