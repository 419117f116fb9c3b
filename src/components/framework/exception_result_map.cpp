#include "components/framework/exception_result_map.h"

#include <optional>

namespace {

constexpr uint32_t kMessageAndText = 0xC;  // class name and text of the exception

constexpr lcExceptionResultMapEntry kDefaultMap[] = {
    mapEntry(0x10000009, E_INVALIDARG, kMessageAndText),
    mapEntry(0x10000008, E_POINTER, kActionMessageForResult),                // lcBadPointer
    mapEntry(0x10000400, hresultFrom(0x8004E102), kActionMessageForResult),  // UnboundWindow
    mapEntry(0x10000402, hresultFrom(0x8004E103), kActionMessageForResult),  // BadWindow
    mapEntry(0x10000405, hresultFrom(0x8004E104), 0xE),                      // BadCoord
    mapEntry(0x10000409, hresultFrom(0x8004E200), kMessageAndText),          // NonlinearXform
    mapEntry(0x10001500, hresultFrom(0x8004C002), kActionMessageForResult),  // lcTimeout::Expired
};

// Depth bound for links, so that a map linking to itself cannot loop forever.
constexpr int kMaxLinkDepth = 16;

std::optional<lcMappedResult> find(lcExceptionResultMap map, uint32_t coreCode, int depth) {
  for (const lcExceptionResultMapEntry& entry : map) {
    if (entry.action == kActionLink) {
      if (entry.link && depth < kMaxLinkDepth)
        if (auto found = find(entry.link(), coreCode, depth + 1)) return found;
    } else if (entry.coreCode == coreCode && coreCode != 0) {
      return lcMappedResult{entry.result, entry.action};
    }
  }
  return std::nullopt;
}

}  // namespace

lcExceptionResultMap defaultExceptionResultMap() {
  return kDefaultMap;
}

lcMappedResult mapCoreCode(uint32_t coreCode, lcExceptionResultMap componentMap) {
  if (auto found = find(componentMap, coreCode, 0)) return *found;
  if (auto found = find(kDefaultMap, coreCode, 0)) return *found;
  return {E_FAIL, kMessageAndText};
}
