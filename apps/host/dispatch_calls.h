#pragma once
// Calls by name through IDispatch, as a script host makes them: property gets and puts
// (indexed too), method calls, and paths such as "Operators.Item(0).ConstantValue".

#include <string_view>
#include <vector>

#include "host.h"

namespace lumxip {

// Invokes `name` with `args` in call order. A put passes the last argument as the value;
// a put of an object is a putref. The failure carries the thread's error information.
Failure invokeByName(IDispatch* object, std::wstring_view name, WORD flags,
                     std::vector<lum::Variant> args, lum::Variant* result = nullptr);

Failure getProperty(IDispatch* object, std::wstring_view name, lum::Variant* value);
// An object value is put by reference.
Failure putProperty(IDispatch* object, std::wstring_view name, std::vector<lum::Variant> index,
                    lum::Variant value);

// The object a property or method returns, as IDispatch; null when it gives none.
ComPtr<IDispatch> dispatchOf(const lum::Variant& value);

}  // namespace lumxip
