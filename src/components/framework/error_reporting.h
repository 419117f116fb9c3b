#pragma once
// Setting the thread's error information for a failed method: the result code's
// description, source ("Halvex.LumIPOneImageTool Run"), help file and help context.

#include <cstdint>
#include <optional>
#include <string>

#include "components/framework/com_error.h"
#include "components/framework/error_context.h"
#include "components/framework/export.h"
#include "components/framework/message_args.h"
#include "std/except/exception.h"

// Everything one report says. Without `text`, the description is the text of
// `messageId` (or, when that is 0, of messageIdForResult(code, mergeMode)).
struct lcErrorReport {
  HRESULT code = E_FAIL;
  int mergeMode = 0;
  std::optional<std::wstring> text;
  uint32_t messageId = 0;
  const lcMessageArgs* args = nullptr;  // "%1".."%9" in the description
  uint32_t helpContext = 0;             // 0: the message identifier
  std::wstring helpFile;
  // Error information that was pending when the failure was made, merged when the merge
  // mode is not 0.
  ComPtr<IErrorInfo> pending;
};

// Makes the report the thread's error information and returns its code. Never throws;
// when even the error-information object cannot be made, the code is returned alone.
LUM_FRAMEWORK_API HRESULT reportError(const lcErrorContext& context,
                                      const lcErrorReport& report) noexcept;

// The same with the arguments in their usual order; a merge mode other than 0 takes the
// error information pending on the thread now.
LUM_FRAMEWORK_API HRESULT reportError(const lcErrorContext& context, HRESULT code, int mergeMode,
                                      uint32_t messageId = 0, const lcMessageArgs* args = nullptr,
                                      uint32_t helpContext = 0,
                                      const wchar_t* helpFile = nullptr) noexcept;

// Reports a core exception through the exception maps and returns its result code.
LUM_FRAMEWORK_API HRESULT reportCoreException(const lcErrorContext& context,
                                              const lcException& exception) noexcept;

// Reports an lcCOMError and returns its result code.
LUM_FRAMEWORK_API HRESULT reportComError(const lcErrorContext& context,
                                         const lcCOMError& error) noexcept;

// "Halvex.LumIPOneImageTool Run": the ProgID up to its second ".", a space and the
// method; the class identifier's text when there is no ProgID.
LUM_FRAMEWORK_API std::wstring errorSource(const lcErrorContext& context);

// Replaces "%1".."%9" by the arguments (absent or empty ones leave the marker) and cuts
// the result to `maxLength` characters.
LUM_FRAMEWORK_API std::wstring substituteArguments(std::wstring_view text,
                                                   const lcMessageArgs* args,
                                                   std::size_t maxLength);
