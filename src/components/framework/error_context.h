#pragma once
// What the call boundary knows about the method it guards: the component's class and
// its ProgID as the class declares it, the interface, the method's name, and the
// component's own exception map.

#include "components/framework/exception_result_map.h"
#include "platform/guid.h"

struct lcErrorContext {
  CLSID clsid = CLSID_NULL;
  IID iid = IID_NULL;
  const wchar_t* method = L"";
  const wchar_t* progId = nullptr;  // "Halvex.LumIPOneImageTool.1"; null when the class has none
  lcExceptionResultMap exceptionMap = {};
};
