#include "components/framework/error_reporting.h"

#include <cwchar>
#include <new>

#include "components/framework/message_service_client.h"

namespace {

constexpr std::size_t kMaxDescription = 1023;
constexpr std::size_t kMaxExceptionText = 1024;
constexpr uint32_t kFirstLibraryMessage = 0x80048000;
constexpr uint32_t kLastLibraryMessage = 0x8004FFFF;

std::wstring exceptionDescription(const lcException& exception, bool withClassName) {
  std::wstring text;
  if (withClassName) text = std::wstring(exception.className()) + L": ";
  return text + exception.messageText();
}

HRESULT setErrorInfo(const lcErrorContext& context, const lcErrorReport& report) {
  ComPtr<ICreateErrorInfo> create;
  if (FAILED(CreateErrorInfo(create.put())) || !create) return report.code;

  const std::wstring source = errorSource(context);
  create->SetSource(const_cast<LPOLESTR>(source.c_str()));
  create->SetGUID(context.iid);

  const uint32_t messageId =
      report.messageId ? report.messageId : messageIdForResult(report.code, report.mergeMode);
  std::wstring description;
  if (report.text) {
    description = *report.text;
  } else if (messageId != 0) {
    auto text = lum::messageText(messageId);
    description = text ? *text : source + lum::unableToLoadMessage(messageId);
  }
  // Only a description made from a message and its arguments is cut; one given whole
  // (an exception's, at most 1024 characters, or a merged one) stays as it is.
  if (report.args) description = substituteArguments(description, report.args, kMaxDescription);

  uint32_t helpContext = report.helpContext ? report.helpContext : messageId;
  std::wstring helpFile = report.helpFile;
  if (report.mergeMode != 0 && report.pending) {
    lum::Bstr pendingText, pendingHelpFile;
    report.pending->GetDescription(pendingText.put());
    report.pending->GetHelpFile(pendingHelpFile.put());
    if (!pendingText.empty()) {
      if (!description.empty()) description += L"\r\n";
      description += pendingText.view();
    }
    if (!pendingHelpFile.empty()) {
      helpFile = pendingHelpFile.str();
      DWORD pendingContext = 0;
      report.pending->GetHelpContext(&pendingContext);
      helpContext = pendingContext;
    }
  }
  create->SetDescription(const_cast<LPOLESTR>(description.c_str()));

  const bool libraryMessage =
      helpContext >= kFirstLibraryMessage && helpContext <= kLastLibraryMessage;
  if (helpContext != 0 && helpFile.empty() && (report.mergeMode == 0 || libraryMessage))
    helpFile = lum::messageHelpFile(helpContext).value_or(L"");
  if (!helpFile.empty()) {
    create->SetHelpFile(const_cast<LPOLESTR>(helpFile.c_str()));
    create->SetHelpContext(helpContext);
  }
  SetErrorInfo(0, create.as<IErrorInfo>().get());
  return report.code;
}

}  // namespace

std::wstring errorSource(const lcErrorContext& context) {
  std::wstring source;
  if (context.progId && *context.progId) {
    source = context.progId;
    const auto first = source.find(L'.');
    if (first != std::wstring::npos) {
      const auto second = source.find(L'.', first + 1);
      if (second != std::wstring::npos) source.resize(second);
    }
  } else if (context.clsid != CLSID_NULL) {
    source = lum::toWString(context.clsid);
  } else {
    return source;
  }
  return source + L" " + (context.method ? context.method : L"");
}

std::wstring substituteArguments(std::wstring_view text, const lcMessageArgs* args,
                                 std::size_t maxLength) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size() && out.size() < maxLength; ++i) {
    const wchar_t c = text[i];
    if (args && c == L'%' && i + 1 < text.size() && text[i + 1] >= L'1' && text[i + 1] <= L'9') {
      const wchar_t* argument = args->arg(text[i + 1] - L'1');
      if (argument && *argument) {
        out += argument;
        ++i;
        continue;
      }
    }
    out += c;
  }
  if (out.size() > maxLength) out.resize(maxLength);
  return out;
}

HRESULT reportError(const lcErrorContext& context, const lcErrorReport& report) noexcept {
  try {
    return setErrorInfo(context, report);
  } catch (...) {  // out of memory while describing the failure: the code still counts
    return report.code;
  }
}

HRESULT reportError(const lcErrorContext& context, HRESULT code, int mergeMode, uint32_t messageId,
                    const lcMessageArgs* args, uint32_t helpContext,
                    const wchar_t* helpFile) noexcept {
  try {
    lcErrorReport report;
    report.code = code;
    report.mergeMode = mergeMode;
    report.messageId = messageId;
    report.args = args;
    report.helpContext = helpContext;
    report.helpFile = helpFile ? helpFile : L"";
    if (mergeMode != 0) GetErrorInfo(0, report.pending.put());
    return setErrorInfo(context, report);
  } catch (...) {
    return code;
  }
}

HRESULT reportCoreException(const lcErrorContext& context, const lcException& exception) noexcept {
  lcMappedResult mapped{E_FAIL, 0};
  try {
    mapped = mapCoreCode(exception.errorCode(), context.exceptionMap);
    const uint32_t actionBits =
        kActionMessageForResult | kActionAppendException | kActionWithClassName;
    lcErrorReport report;
    report.code = mapped.result;
    if ((mapped.action & ~actionBits) == 0) {
      std::wstring text;
      if (mapped.action & kActionMessageForResult) {
        const uint32_t messageId = messageIdForResult(mapped.result, 0);
        text = lum::messageText(messageId).value_or(lum::unableToLoadMessage(messageId));
      }
      if (mapped.action & kActionAppendException) {
        if (!text.empty()) text += L"\r\n";
        text += exceptionDescription(exception, mapped.action & kActionWithClassName);
      }
      if (text.size() > kMaxExceptionText) text.resize(kMaxExceptionText);
      report.text = std::move(text);
      return setErrorInfo(context, report);
    }
    // The action names a message that takes the exception's description as argument.
    const std::wstring described = exceptionDescription(exception, true);
    const lcMessageArgs args(described.c_str());
    report.messageId = mapped.action;
    report.args = &args;
    return setErrorInfo(context, report);
  } catch (...) {
    return mapped.result;
  }
}

HRESULT reportComError(const lcErrorContext& context, const lcCOMError& error) noexcept {
  try {
    lcErrorReport report;
    report.code = error.result;
    if (error.description.empty() && error.helpFile.empty()) {
      report.mergeMode = error.mergeMode;
      report.pending = error.pending;
    } else {
      report.text = error.description.str();
      report.helpContext = error.helpContext;
      report.helpFile = error.helpFile.str();
    }
    return setErrorInfo(context, report);
  } catch (...) {
    return error.result;
  }
}
