#pragma once
// lcCOMError: the exception that component code throws when it already knows the result
// code: parameter checks (E_INVALIDARG with a message identifier and the property's
// name) and failed calls into other components (throwIfFailed).

#include <cstdint>
#include <string_view>

#include "components/framework/export.h"
#include "components/framework/message_args.h"
#include "platform/bstr.h"
#include "platform/error_info.h"

class LUM_VISIBLE lcCOMError {
 public:
  // Merge modes: 0 ignores error information pending on the thread; 1 and 2 take it
  // over (2 also keeps a facility-4 result from naming its own message).
  //
  // With a message identifier, the description is that message's text (with the first
  // three arguments); the help context defaults to the message identifier.
  lcCOMError(HRESULT result, int mergeMode, uint32_t messageId = 0,
             const lcMessageArgs* args = nullptr, uint32_t helpContext = 0);

  // A failure described by the thrower itself.
  static lcCOMError withDescription(HRESULT result, std::wstring_view description);

  HRESULT result;
  int mergeMode;
  lum::Bstr description;
  uint32_t helpContext;
  lum::Bstr helpFile;
  // The error information that was pending on the thread when this error was made (only
  // with a merge mode other than 0).
  ComPtr<IErrorInfo> pending;

 private:
  lcCOMError() = default;
};

// Throws lcCOMError(code, 2) when `code` is a failure: the callee's error information
// travels on with it.
inline void throwIfFailed(HRESULT code) {
  if (FAILED(code)) throw lcCOMError(code, 2);
}

// The parameter-check failure: E_INVALIDARG with `messageId` and the property's name.
[[noreturn]] LUM_FRAMEWORK_API void throwInvalidArgument(uint32_t messageId,
                                                         const lcMessageArgs& args);

// The message that describes a result code when no message is given; 0 for none.
LUM_FRAMEWORK_API uint32_t messageIdForResult(HRESULT code, int mergeMode);
