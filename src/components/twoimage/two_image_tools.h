#pragma once
// LumIPTwoImageAddTool, LumIPTwoImageSubtractTool and LumIPTwoImageMinMaxTool: the tools
// of the two-image arithmetic operators.

#include "components/twoimage/tool_impl.h"
#include "lumxip/ip/two_image_arithmetic.h"

class LUM_VISIBLE CLumIPTwoImageAddTool final
    : public lcTwoImageToolBase<CLumIPTwoImageAddTool, ILumIPTwoImageAddTool,
                                ILumIPTwoImageAddParams, ILumIPTwoImageAdd,
                                lumIPTwoImageAddTool_InputImageA> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPTwoImageAddTool,
                                             L"CLumIPTwoImageAddTool",
                                             L"Halvex.LumIPTwoImageAddTool",
                                             1,
                                             L"Adds two images",
                                             L"LumIPTwoImageAddCtl.LumIPAddEdit",
                                             L"LumIPTwoImageAddToolStateIDs"};
  static constexpr CLSID kOperatorClass = CLSID_LumIPTwoImageAdd;
  static constexpr LONG kAlignmentEnabledId = lumIPTwoImageAdd_ImageAlignmentEnabled;
  static constexpr auto ownMembers() { return lum::members(); }
};

class LUM_VISIBLE CLumIPTwoImageSubtractTool final
    : public lcTwoImageToolBase<CLumIPTwoImageSubtractTool, ILumIPTwoImageSubtractTool,
                                ILumIPTwoImageSubtractParams, ILumIPTwoImageSubtract,
                                lumIPTwoImageSubtractTool_InputImageA> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPTwoImageSubtractTool,     L"CLumIPTwoImageSubtractTool",
      L"Halvex.LumIPTwoImageSubtractTool", 1,
      L"Subtracts one image from another", L"LumIPTwoImageSubCtl.LumIPSubEdit",
      L"LumIPTwoImageSubtractToolStateIDs"};
  static constexpr CLSID kOperatorClass = CLSID_LumIPTwoImageSubtract;
  static constexpr LONG kAlignmentEnabledId = lumIPTwoImageSubtract_ImageAlignmentEnabled;
  static constexpr auto ownMembers() { return lum::members(); }
};

class LUM_VISIBLE CLumIPTwoImageMinMaxTool final
    : public lcTwoImageToolBase<CLumIPTwoImageMinMaxTool, ILumIPTwoImageMinMaxTool,
                                ILumIPTwoImageMinMaxParams, ILumIPTwoImageMinMax,
                                lumIPTwoImageMinMaxTool_InputImageA> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumIPTwoImageMinMaxTool,
                                             L"CLumIPTwoImageMinMaxTool",
                                             L"Halvex.LumIPTwoImageMinMaxTool",
                                             1,
                                             L"Keeps the smaller or larger of two images' pixels",
                                             L"LumIPTwoImageMinMaxCtl.LumIPMinMaxEdit",
                                             L"LumIPTwoImageMinMaxToolStateIDs"};
  static constexpr CLSID kOperatorClass = CLSID_LumIPTwoImageMinMax;
  static constexpr LONG kAlignmentEnabledId = lumIPTwoImageMinMax_ImageAlignmentEnabled;
  static constexpr auto ownMembers() { return lum::members(); }
};
