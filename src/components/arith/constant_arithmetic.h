#pragma once
// LumIPOneImageAddSubtractConstant and LumIPOneImageMultiplyConstant: one-image operators
// that change every pixel by a constant. Grey images use ConstantValue, colour images the
// three plane constants; a 16-bit output keeps the input's pixel-depth code.

#include <array>
#include <memory>
#include <vector>

#include "components/framework/prepared_state.h"
#include "components/oneimage/operator_impl.h"
#include "lumxip/ip/constant_arithmetic.h"

inline constexpr lcOneImageFrame kConstantArithmeticFrame{
    lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24, true};

LUM_PARAMETERS(lcAddSubtractConstantParams, LUM_IP_ADD_SUBTRACT_CONSTANT_PROPERTIES);

class LUM_VISIBLE CLumIPOneImageAddSubtractConstant final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageAddSubtractConstant,
                                      ILumIPOneImageAddSubtractConstant,
                                      lcAddSubtractConstantParams> {
 public:
  static constexpr const wchar_t* kOldProgIds[] = {L"Halvex.LumIPOneImageAddSubtractConstant"};
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageAddSubtractConstant,      L"CLumIPOneImageAddSubtractConstant",
      L"Halvex.LumIPOneImageAddSubtractConst",     1,
      L"Adds a constant to every pixel",           L"LumIPOneImageCtl.LumIPAddSubtractEdit",
      L"LumIPOneImageAddSubtractConstantStateIDs", kOldProgIds};
  static constexpr lcOneImageFrame kFrame = kConstantArithmeticFrame;
  LUM_DECLARED_PROPERTIES(LUM_IP_ADD_SUBTRACT_CONSTANT_PROPERTIES)

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Parameters& p, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Parameters& p);
};

LUM_PARAMETERS(lcMultiplyConstantParams, LUM_IP_MULTIPLY_CONSTANT_PROPERTIES);

// The lookup tables the multiply applies, built from the constants when they changed.
struct lcMultiplyTables {
  std::array<uint8_t, 256> grey8;
  std::array<uint8_t, 256> plane[3];
  std::vector<uint16_t> grey16;  // 65536 entries
};

class LUM_VISIBLE CLumIPOneImageMultiplyConstant final
    : public lcIPOneImageOperatorImpl<CLumIPOneImageMultiplyConstant,
                                      ILumIPOneImageMultiplyConstant, lcMultiplyConstantParams> {
 public:
  static constexpr lcClassDeclaration kClass{
      CLSID_LumIPOneImageMultiplyConstant,     L"CLumIPOneImageMultiplyConstant",
      L"Halvex.LumIPOneImageMultiplyConstant", 1,
      L"Multiplies every pixel by a constant", L"LumIPOneImageCtl.LumIPMultiplyEdit",
      L"LumIPOneImageMultiplyConstantStateIDs"};
  static constexpr lcOneImageFrame kFrame = kConstantArithmeticFrame;
  LUM_DECLARED_PROPERTIES(LUM_IP_MULTIPLY_CONSTANT_PROPERTIES)

  using Snapshot = std::shared_ptr<const lcMultiplyTables>;
  // The tables, rebuilt first when a constant or the overflow mode changed.
  Snapshot snapshot();
  void afterPropertyStored(DISPID id);
  // How many times the tables were built, for tests of the rebuild rule.
  int tableBuilds() const { return tableBuilds_; }

  static void run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                  const Snapshot& tables, int plane);
  static void run(const lcPelBuffer<uint16_t>& source, lcPelBuffer<uint16_t>& result,
                  const Snapshot& tables);

 private:
  lcPreparedState<lcMultiplyTables> tables_;
  int tableBuilds_ = 0;
};
