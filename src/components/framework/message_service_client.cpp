#include "components/framework/message_service_client.h"

#include <dlfcn.h>

#include <cwchar>

#include "lumxip/HalvexCore.h"

namespace lum {
namespace {

constexpr ULONG kTextCapacity = 1024;

// The load address of this library: the module the service is told about.
void* thisModule() {
  Dl_info info{};
  static const int anchor = 0;
  return dladdr(&anchor, &info) ? info.dli_fbase : nullptr;
}

ComPtr<ILumMessageService> createService() {
  ComPtr<ILumMessageService> service;
  if (FAILED(CoCreateInstance(CLSID_LumMessageService, nullptr, CLSCTX_ALL, IID_ILumMessageService,
                              service.putVoid())) ||
      !service || FAILED(service->Initialize(thisModule())))
    return nullptr;
  return service;
}

}  // namespace

std::optional<std::wstring> messageText(uint32_t messageId) {
  ComPtr<ILumMessageService> service = createService();
  wchar_t buffer[kTextCapacity] = {};
  if (!service || FAILED(service->GetMessageText(messageId, buffer, kTextCapacity)))
    return std::nullopt;
  return std::wstring(buffer, wcsnlen(buffer, kTextCapacity));
}

std::optional<std::wstring> messageText(uint32_t messageId, const lcMessageArgs& args) {
  ComPtr<ILumMessageService> service = createService();
  wchar_t buffer[kTextCapacity] = {};
  auto argument = [&](int i) { return args.arg(i) ? args.arg(i) : L""; };
  if (!service || FAILED(service->GetMessageTextWithArgs(messageId, argument(0), argument(1),
                                                         argument(2), buffer, kTextCapacity)))
    return std::nullopt;
  return std::wstring(buffer, wcsnlen(buffer, kTextCapacity));
}

std::optional<std::wstring> messageHelpFile(uint32_t messageId) {
  ComPtr<ILumMessageService> service = createService();
  Bstr helpFile;
  if (!service || FAILED(service->GetHelpFile(messageId, helpFile.put()))) return std::nullopt;
  return helpFile.str();
}

std::wstring unableToLoadMessage(uint32_t messageId) {
  wchar_t hex[16];
  std::swprintf(hex, 16, L"%x", messageId);
  return L" - Unable to load error message 0x" + std::wstring(hex);
}

}  // namespace lum
