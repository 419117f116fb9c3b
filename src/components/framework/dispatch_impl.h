#pragma once
// Dispatch by name (GetIDsOfNames and Invoke), derived from a component's member table.
// Properties go through the component's own get and put paths, so a put by name is
// checked, compared and notified exactly like a put through the interface; methods and
// indexed properties are called through their member functions with converted
// arguments (dispatch_marshal.h).
//
// Named arguments: only DISPID_PROPERTYPUT, for the value of a put. A failure that a
// member reports leaves its error information on the thread; with an EXCEPINFO given,
// Invoke copies it there and returns DISP_E_EXCEPTION, as script hosts expect. An
// argument that does not convert returns the conversion's code with its position in
// puArgErr, as do the call's other failures, never error information from before.

#include <algorithm>
#include <array>
#include <cwctype>
#include <string_view>

#include "components/framework/dispatch_marshal.h"
#include "components/framework/members.h"
#include "platform/error_info.h"

namespace lum::detail {

inline bool sameName(std::wstring_view a, const wchar_t* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i)
    if (std::towlower(wint_t(a[i])) != std::towlower(wint_t(b[i]))) return false;
  return i == a.size() && b[i] == 0;
}

struct CallOptions {
  int firstOptional = -1;
  bool lastIsResult = true;
  const double* defaults = nullptr;  // by parameter index, for omitted optional ones
};

inline bool isOmitted(const VARIANT& v) {
  return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

template <class P>
using ArgumentSlot = std::conditional_t<isOutParam<P>, OutArgument<P>, InArgument<P>>;

template <auto Fn, class T, std::size_t... I>
HRESULT callWith(T& self, const DISPPARAMS& params, VARIANT* result, UINT* argError,
                 const CallOptions& options, std::index_sequence<I...>) {
  using Params = typename FunctionParts<decltype(Fn)>::Params;
  constexpr std::size_t n = sizeof...(I);
  bool lastOut = false;
  if constexpr (n > 0) lastOut = isOutParam<std::tuple_element_t<n - 1, Params>>;
  const bool hasResult = options.lastIsResult && lastOut;
  const std::size_t positional = hasResult ? n - 1 : n;
  const std::size_t required =
      options.firstOptional < 0
          ? positional
          : std::min<std::size_t>(std::size_t(options.firstOptional), positional);
  if (params.cArgs > positional || params.cArgs < required) return DISP_E_BADPARAMCOUNT;

  std::tuple<ArgumentSlot<std::tuple_element_t<I, Params>>...> slots;
  auto argumentAt = [&](std::size_t i) -> VARIANT* {
    return i < params.cArgs ? &params.rgvarg[params.cArgs - 1 - i] : nullptr;
  };
  HRESULT hr = S_OK;
  auto load = [&](auto index) {
    constexpr std::size_t i = decltype(index)::value;
    using P = std::tuple_element_t<i, Params>;
    if constexpr (!isOutParam<P>) {
      if (FAILED(hr)) return;
      VARIANT* argument = argumentAt(i);
      if (argument && isOmitted(*argument)) argument = nullptr;
      if (argument == nullptr && i < required) {
        hr = DISP_E_PARAMNOTOPTIONAL;
      } else {
        hr = std::get<i>(slots).load(argument,
                                     options.defaults && i < 8 ? options.defaults[i] : 0.0);
        if (FAILED(hr)) hr = hr == E_INVALIDARG ? DISP_E_TYPEMISMATCH : hr;
      }
      if (FAILED(hr) && argError) *argError = UINT(params.cArgs > i ? params.cArgs - 1 - i : 0);
    }
  };
  (load(std::integral_constant<std::size_t, I>{}), ...);
  (void)load;  // unused when the function has no parameters
  if (FAILED(hr)) return hr;

  hr = (self.*Fn)(std::get<I>(slots).get()...);
  if (FAILED(hr)) return hr;

  auto deliver = [&](auto index) {
    constexpr std::size_t i = decltype(index)::value;
    using P = std::tuple_element_t<i, Params>;
    if constexpr (isOutParam<P>) {
      VARIANT value;
      std::get<i>(slots).moveTo(value);
      if (hasResult && i == n - 1) {
        if (result)
          *result = value;
        else
          VariantClear(&value);
      } else {
        VARIANT* argument = argumentAt(i);
        if (argument && (argument->vt & VT_BYREF)) (void)writeBack(*argument, value);
        VariantClear(&value);
      }
    }
  };
  (deliver(std::integral_constant<std::size_t, I>{}), ...);
  (void)deliver;
  return hr;
}

template <auto Fn, class T>
HRESULT callFunction(T& self, const DISPPARAMS& params, VARIANT* result, UINT* argError,
                     const CallOptions& options) {
  constexpr std::size_t n = FunctionParts<decltype(Fn)>::arity;
  return callWith<Fn>(self, params, result, argError, options, std::make_index_sequence<n>{});
}

template <class M>
struct IsMethod : std::false_type {};
template <auto F>
struct IsMethod<lcMethod<F>> : std::true_type {};
template <class M>
struct IsIndexed : std::false_type {};
template <auto G, auto S>
struct IsIndexed<lcIndexedProperty<G, S>> : std::true_type {};

template <class M>
constexpr bool isDispatchable(const M& member) {
  if constexpr (isProperty<M>) return member.access != lcAccessNone;
  return true;
}

// Invoke finds a member by its dispatch ID, so two members sharing one would leave the
// second unreachable by dispatch.
template <class Tuple>
constexpr bool hasUniqueDispatchIds(const Tuple& table) {
  std::array<DISPID, std::tuple_size_v<Tuple>> ids{};
  size_t count = 0;
  forEachMember(table, [&](const auto& m) {
    if (isDispatchable(m)) ids[count++] = m.dispid;
  });
  for (size_t i = 0; i < count; ++i)
    for (size_t j = 0; j < i; ++j)
      if (ids[i] == ids[j]) return false;
  return true;
}

// The member's error information, copied into `exception`.
inline void fillException(EXCEPINFO* exception, HRESULT hr, IErrorInfo& info) {
  *exception = EXCEPINFO{};
  exception->scode = hr;
  info.GetSource(&exception->bstrSource);
  info.GetDescription(&exception->bstrDescription);
  info.GetHelpFile(&exception->bstrHelpFile);
  info.GetHelpContext(&exception->dwHelpContext);
}

// Sets aside the error information on the thread while a member runs, so that only what
// the member itself reports counts as its failure. What it reported stays on the thread
// after a failure; otherwise the earlier information is put back.
class MemberErrorScope {
 public:
  MemberErrorScope() { GetErrorInfo(0, earlier_.put()); }
  MemberErrorScope(const MemberErrorScope&) = delete;
  MemberErrorScope& operator=(const MemberErrorScope&) = delete;

  // The error information the member reported while failing with `hr`, or null.
  ComPtr<IErrorInfo> end(HRESULT hr) {
    ComPtr<IErrorInfo> reported;
    GetErrorInfo(0, reported.put());
    if (FAILED(hr) && reported) {
      SetErrorInfo(0, reported.get());
      return reported;
    }
    SetErrorInfo(0, earlier_.get());
    return nullptr;
  }

 private:
  ComPtr<IErrorInfo> earlier_;
};

}  // namespace lum::detail

// The dispatch implementation of component T over T::allMembers().
template <class T>
struct lcDispatcher {
  static HRESULT idsOfNames(LPOLESTR* names, UINT count, DISPID* ids) {
    if (names == nullptr || ids == nullptr) return E_POINTER;
    for (UINT i = 0; i < count; ++i)
      ids[i] = DISPID_UNKNOWN;
    if (count == 0 || names[0] == nullptr) return DISP_E_UNKNOWNNAME;
    const std::wstring_view wanted(names[0]);
    constexpr auto table = T::allMembers();
    const bool found = lum::anyMember(table, [&](const auto& m) {
      if (!lum::detail::isDispatchable(m) || !lum::detail::sameName(wanted, m.name)) return false;
      ids[0] = m.dispid;
      return true;
    });
    if (!found || count > 1) return DISP_E_UNKNOWNNAME;  // no named method arguments
    return S_OK;
  }

  static HRESULT invoke(T& self, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const DISPPARAMS& p = params ? *params : none;
    if (p.cArgs > 0 && p.rgvarg == nullptr) return E_INVALIDARG;
    if (result) VariantInit(result);
    const bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const bool namedValue =
        p.cNamedArgs == 1 && p.rgdispidNamedArgs && p.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    if (p.cNamedArgs > 0 && !(put && namedValue)) return DISP_E_NONAMEDARGS;

    HRESULT hr = DISP_E_MEMBERNOTFOUND;
    lum::detail::MemberErrorScope errors;
    constexpr auto table = T::allMembers();
    static_assert(lum::detail::hasUniqueDispatchIds(table),
                  "two dispatchable members share a dispatch ID");
    lum::anyMember(table, [&](const auto& m) {
      using M = std::decay_t<decltype(m)>;
      if (m.dispid != id || !lum::detail::isDispatchable(m)) return false;
      if constexpr (lum::isProperty<M>) {
        hr = invokeProperty(self, m, flags, p, result, argError);
      } else if constexpr (lum::detail::IsMethod<M>::value) {
        hr = (flags & DISPATCH_METHOD) || (flags & DISPATCH_PROPERTYGET)
                 ? lum::detail::callFunction<M::function>(
                       self, p, result, argError, {m.firstOptional, m.lastIsResult, m.defaults})
                 : DISP_E_MEMBERNOTFOUND;
      } else if constexpr (lum::detail::IsIndexed<M>::value) {
        if (put) {
          if constexpr (M::setter != nullptr)
            hr = lum::detail::callFunction<M::setter>(self, p, nullptr, argError,
                                                      {-1, false, nullptr});
        } else {
          hr = lum::detail::callFunction<M::getter>(self, p, result, argError, {-1, true, nullptr});
        }
      }
      return true;
    });
    // Arguments that do not convert, unknown members and wrong counts are the call's own
    // failures: only a failure the member reported becomes an exception.
    const ComPtr<IErrorInfo> reported = errors.end(hr);
    if (reported && exception) {
      lum::detail::fillException(exception, hr, *reported);
      return DISP_E_EXCEPTION;
    }
    return hr;
  }

 private:
  template <class M>
  static HRESULT invokeProperty(T& self, const M& m, WORD flags, const DISPPARAMS& p,
                                VARIANT* result, UINT* argError) {
    constexpr auto field = M::field;
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      // Put and putref are both accepted: scripts use either for object properties.
      if (!(m.access & (lcAccessPut | lcAccessPutRef))) return DISP_E_MEMBERNOTFOUND;
      if (p.cArgs != 1) return DISP_E_BADPARAMCOUNT;
      return self.template putPropertyFromVariant<field>(p.rgvarg[0], argError);
    }
    if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) || !(m.access & lcAccessGet))
      return DISP_E_MEMBERNOTFOUND;
    if (p.cArgs != 0) return DISP_E_BADPARAMCOUNT;
    lum::Variant value;
    if (HRESULT hr = self.template getPropertyAsVariant<field>(value); FAILED(hr)) return hr;
    if (result) value.detachTo(result);
    return S_OK;
  }
};
