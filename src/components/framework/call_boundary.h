#pragma once
// The call boundary: every interface method runs its body inside it, in one line,
//
//   HRESULT put_ConstantValue(LONG value) override {
//     return callBoundary(context(L"put_ConstantValue"), [&] { setConstant(value); });
//   }
//
// A body that returns nothing succeeds with S_OK; one that returns an HRESULT passes it
// on. Every exception is caught and turned into the method's result code and the
// thread's error information:
//   lcException          -> the exception maps (component's, then default)
//   lcCOMError           -> its own result code and description
//   std::bad_alloc       -> E_OUTOFMEMORY
//   any other exception  -> E_UNEXPECTED, so that a foreign C++ exception (a hostile size
//                           that makes a container throw length_error, say) never
//                           terminates the host.
// A method that succeeds leaves the thread's error information as it found it.

#include <type_traits>
#include <utility>

#include "components/framework/error_context.h"
#include "components/framework/export.h"
#include "platform/types.h"
#include "platform/variant.h"

// What the boundary caught; tools record a run's message according to it.
enum class lcCaught { nothing, coreException, comError, outOfMemory, foreign };

struct lcBoundaryOutcome {
  HRESULT result = S_OK;
  lcCaught caught = lcCaught::nothing;
};

// Reports the exception being handled (call only inside a catch block).
LUM_FRAMEWORK_API lcBoundaryOutcome reportCurrentException(const lcErrorContext& context) noexcept;

// Runs `body` inside the boundary and says what, if anything, it caught.
template <class Body>
lcBoundaryOutcome runInBoundary(const lcErrorContext& context, Body&& body) noexcept {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
      std::forward<Body>(body)();
      return {};
    } else {
      return {std::forward<Body>(body)(), lcCaught::nothing};
    }
  } catch (...) {
    return reportCurrentException(context);
  }
}

template <class Body>
HRESULT callBoundary(const lcErrorContext& context, Body&& body) noexcept {
  return runInBoundary(context, std::forward<Body>(body)).result;
}

// The first line of a hand-written method with out-parameters: E_POINTER when any of them
// is null (then none is touched), otherwise every one cleared (null, 0, VT_EMPTY) before
// any work that can fail, so that a failure hands out nothing.
//
//   HRESULT GetInfo(ILumCoordSpaceTree** tree, BSTR* name) override {
//     if (HRESULT hr = lcClearOutPointers(tree, name); FAILED(hr)) return hr;
//     return callBoundary(context(L"GetInfo"), [&] { ... });
//   }
template <class... Out>
HRESULT lcClearOutPointers(Out*... out) noexcept {
  const bool anyNull = (... || (out == nullptr));
  if (anyNull) return E_POINTER;
  auto clear = [](auto& value) {
    if constexpr (std::is_same_v<std::remove_reference_t<decltype(value)>, VARIANT>)
      VariantInit(&value);
    else
      value = {};
  };
  (clear(*out), ...);
  return S_OK;
}
