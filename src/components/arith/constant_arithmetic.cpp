#include "components/arith/constant_arithmetic.h"

#include "ip/arith/add_constant.h"
#include "ip/arith/multiply_table.h"
#include "ip/arith/table_map.h"

void CLumIPOneImageAddSubtractConstant::run(const lcPelBuffer<uint8_t>& source,
                                            lcPelBuffer<uint8_t>& result, const Parameters& p,
                                            int plane) {
  const LONG planeConstants[] = {p.ConstantPlane0Value, p.ConstantPlane1Value,
                                 p.ConstantPlane2Value};
  lcAddConstant(source, result,
                {plane < 0 ? p.ConstantValue : planeConstants[plane],
                 p.OverflowMode == lumIPOneImageAddSubtractConstantOverflowModeWrap});
}

void CLumIPOneImageAddSubtractConstant::run(const lcPelBuffer<uint16_t>& source,
                                            lcPelBuffer<uint16_t>& result, const Parameters& p) {
  lcAddConstant(
      source, result,
      {p.ConstantValue, p.OverflowMode == lumIPOneImageAddSubtractConstantOverflowModeWrap});
}

void CLumIPOneImageMultiplyConstant::afterPropertyStored(DISPID id) {
  if (id != lumIPOneImageMultiplyConstant_OutputImageFormat) tables_.markStale();
}

CLumIPOneImageMultiplyConstant::Snapshot CLumIPOneImageMultiplyConstant::snapshot() {
  return tables_.snapshot(core().lock(), [&] {
    const bool wrap = OverflowMode == lumIPOneImageMultiplyConstantOverflowModeWrap;
    const double planes[] = {ConstantPlane0Value, ConstantPlane1Value, ConstantPlane2Value};
    lcMultiplyTables tables{
        lcMultiplyTable8({ConstantValue, wrap}), {}, lcMultiplyTable16({ConstantValue, wrap})};
    for (int p = 0; p < 3; ++p)
      tables.plane[p] = lcMultiplyTable8({planes[p], wrap});
    ++tableBuilds_;
    return tables;
  });
}

void CLumIPOneImageMultiplyConstant::run(const lcPelBuffer<uint8_t>& source,
                                         lcPelBuffer<uint8_t>& result, const Snapshot& tables,
                                         int plane) {
  lcTableMap(source, result, {plane < 0 ? tables->grey8 : tables->plane[plane]});
}

void CLumIPOneImageMultiplyConstant::run(const lcPelBuffer<uint16_t>& source,
                                         lcPelBuffer<uint16_t>& result, const Snapshot& tables) {
  lcTableMap(source, result, {tables->grey16});
}
