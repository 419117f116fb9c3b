#pragma once
// Every interface and class identifier of this library, in one table. Identifiers are
// part of saved files and of hosts' code: once here, never changed. Add rows at the end.
// Each row X(kind, name, text) defines kind_name, for example CLSID_LumIPOneImageTool.

#include "lumxip/HalvexCoreIds.h"

// clang-format off
#define LUM_IP_IDENTIFIERS(X) \
  X(IID, ILumIPOneImageOperatorParams, "{1A354D01-3445-48F9-9072-B28587E041A3}")      \
  X(IID, ILumIPOneImageOperator, "{C0512691-4F73-4E4A-9C1E-3BE9D204BDA1}")            \
  X(IID, ILumIPOneImageOperators, "{AAA48FE9-4079-4198-93BC-B701440D5835}")           \
  X(CLSID, LumIPOneImageOperators, "{25A300DE-9E84-4E7B-9CB2-F25DC7718B98}")          \
  X(IID, ILumIPTool, "{3411E6B8-0EB3-455E-897D-5AA60D6E4D49}")                  \
  X(IID, ILumIPOneImageTool, "{E5E57584-10A7-44C1-8BFE-C14195A4B423}")                \
  X(CLSID, LumIPOneImageTool, "{E2A6374F-4F95-48F9-B853-04B1C6F1D0FC}")             \
  X(IID, ILumIPOneImageAddSubtractConstant, "{143B86F0-5412-470E-B7C4-BE56F6F25727}") \
  X(CLSID, LumIPOneImageAddSubtractConstant, "{0420D8DA-866B-493A-9973-8B2537DB2574}") \
  X(IID, ILumIPOneImageMultiplyConstant, "{34F4A791-B69B-42AA-A888-0A673119EF3F}")    \
  X(CLSID, LumIPOneImageMultiplyConstant, "{50AE11C4-4123-4DF3-982F-590EA7F52140}")   \
  X(IID, ILumIPOneImageConvolve3x3, "{7455268A-090E-4C34-A5A0-DBAF46115554}")         \
  X(CLSID, LumIPOneImageConvolve3x3, "{EDD7A7FD-E3B6-4DC5-B4D7-BBDACAC73A3A}")        \
  X(IID, ILumIPOneImageConvolveNxM, "{E6D78A8F-B18D-4AA7-AE9B-6ED1556499FA}")         \
  X(CLSID, LumIPOneImageConvolveNxM, "{5F83747C-2556-454F-A7F5-5F4550FDAC9A}")        \
  X(IID, ILumIPOneImageHighPassFilter, "{5C39E872-B968-4096-BB84-8C25374A1328}")      \
  X(CLSID, LumIPOneImageHighPassFilter, "{ED7BBD23-10D3-4DC2-BCA8-6562C20144F1}")      \
  X(IID, ILumSobelEdgeParams, "{6F14AE13-8911-403C-BFDA-43E8E17C2934}")               \
  X(IID, ILumSobelEdge, "{05C88D91-F5B9-4740-BACC-B985D682EF16}")                     \
  X(CLSID, LumSobelEdge, "{3EBFE6B7-6925-4C86-BE4B-C30E59953CC5}")                    \
  X(IID, ILumSobelEdgeResult, "{0A702C2F-83DF-44E0-82E0-93D40FBFE3C2}")               \
  X(CLSID, LumSobelEdgeResult, "{C62C6CC4-43C6-4D5C-8351-5D7F7D471CD5}")              \
  X(IID, ILumSobelEdgeTool, "{9C8A9D69-915F-4259-B539-4D157870E5C9}")                 \
  X(CLSID, LumSobelEdgeTool, "{8105FE07-9532-4460-B450-F97E00949669}")
// clang-format on

#define LUM_DEFINE_IDENTIFIER(kind, name, text) \
  inline constexpr kind kind##_##name = lum::guid(text);
LUM_IP_IDENTIFIERS(LUM_DEFINE_IDENTIFIER)
#undef LUM_DEFINE_IDENTIFIER
