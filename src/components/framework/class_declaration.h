#pragma once
// What a component class declares about itself once, in `static constexpr
// lcClassDeclaration kClass`.

#include <span>

#include "components/framework/exception_result_map.h"
#include "platform/guid.h"

struct lcClassDeclaration {
  CLSID clsid;
  const wchar_t* className;  // "CLumIPOneImageAddSubtractConstant"
  const wchar_t* progId;     // the current version-independent ProgID
  int version = 1;           // the versioned ProgID is progId + "." + version
  const wchar_t* description = L"";
  const wchar_t* controlProgId = nullptr;           // default of ControlProgID, where there is one
  const wchar_t* stateIdEnumeration = nullptr;      // "LumIPOneImageAddSubtractConstantStateIDs"
  std::span<const wchar_t* const> oldProgIds = {};  // still registered for this class
};
