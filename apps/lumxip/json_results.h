#pragma once
// Values and result objects as JSON, for `--json` output.

#include <nlohmann/json.hpp>

#include "host.h"

namespace lumxip {

// Numbers, Booleans, texts and null as themselves; a one-dimensional array of numbers as
// a JSON array; an object as its readable properties (nested objects down to `depth`
// levels, null below).
nlohmann::ordered_json toJson(const VARIANT& value, int depth = 1);

// The readable properties of an object by name; an image also gives its width and height.
nlohmann::ordered_json readableProperties(IUnknown* object, int depth = 1);

// {"hresult", "description", "source"} of a failure, or of success.
nlohmann::ordered_json failureJson(const Failure& failure);

}  // namespace lumxip
