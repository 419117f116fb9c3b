#pragma once
// How core exceptions become result codes: a list of entries {core code, result code,
// action}. A component may have a map of its own, searched before the default map; an
// entry may link to a further map, searched in its place.

#include <cstdint>
#include <span>

#include "components/framework/export.h"
#include "platform/types.h"

// Action bits. Any other bit set makes the action a message identifier instead.
inline constexpr uint32_t kActionMessageForResult = 0x2;  // start with the result's text
inline constexpr uint32_t kActionAppendException = 0x4;   // append the exception's text
inline constexpr uint32_t kActionWithClassName = 0x8;     // ... led by its class name
inline constexpr uint32_t kActionLink = 0x1;              // the entry links to another map

struct lcExceptionResultMapEntry;
using lcExceptionResultMap = std::span<const lcExceptionResultMapEntry>;

struct lcExceptionResultMapEntry {
  uint32_t coreCode = 0;
  HRESULT result = 0;
  uint32_t action = 0;
  lcExceptionResultMap (*link)() = nullptr;  // with kActionLink: the map searched here
};

constexpr lcExceptionResultMapEntry mapEntry(uint32_t coreCode, HRESULT result, uint32_t action) {
  return {coreCode, result, action, nullptr};
}
constexpr lcExceptionResultMapEntry mapLink(lcExceptionResultMap (*link)()) {
  return {0, 0, kActionLink, link};
}

struct lcMappedResult {
  HRESULT result;
  uint32_t action;
};

// The entry for `coreCode`: the component's map first, then the default map; E_FAIL
// with the class name and text of the exception when neither knows it.
LUM_FRAMEWORK_API lcMappedResult mapCoreCode(uint32_t coreCode,
                                             lcExceptionResultMap componentMap = {});

// The map every component shares.
LUM_FRAMEWORK_API lcExceptionResultMap defaultExceptionResultMap();
