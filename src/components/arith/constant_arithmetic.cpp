#include "components/arith/constant_arithmetic.h"

#include <algorithm>
#include <cmath>

#include "std/pelbuf/pel_drivers.h"

namespace {

template <class Pel>
void addConstant(const lcPelBuffer<Pel>& source, lcPelBuffer<Pel>& result, int32_t constant,
                 bool wrap) {
  constexpr int64_t kMax = std::numeric_limits<Pel>::max();
  lcForEachRow(source, result, [&](const Pel* in, Pel* out, int32_t width) {
    for (int32_t i = 0; i < width; ++i) {
      const int64_t sum = int64_t(in[i]) + constant;
      out[i] = wrap ? Pel(sum) : Pel(std::clamp<int64_t>(sum, 0, kMax));
    }
  });
}

template <class Pel>
void mapPels(const lcPelBuffer<Pel>& source, lcPelBuffer<Pel>& result, const Pel* table) {
  lcForEachRow(source, result, [&](const Pel* in, Pel* out, int32_t width) {
    for (int32_t i = 0; i < width; ++i)
      out[i] = table[in[i]];
  });
}

// Entry i is trunc(i * c + 0.5), clamped or wrapped to the pixel range; entry 0 is 0.
template <class Pel>
void buildTable(Pel* table, std::size_t size, double constant, bool wrap) {
  constexpr int64_t kMax = std::numeric_limits<Pel>::max();
  table[0] = 0;
  for (std::size_t i = 1; i < size; ++i) {
    const auto v = static_cast<int64_t>(std::trunc(double(i) * constant + 0.5));
    table[i] = wrap ? Pel(v) : Pel(std::min(v, kMax));
  }
}

}  // namespace

void CLumIPOneImageAddSubtractConstant::run(const lcPelBuffer<uint8_t>& source,
                                            lcPelBuffer<uint8_t>& result, const Parameters& p,
                                            int plane) {
  const LONG planeConstants[] = {p.ConstantPlane0Value, p.ConstantPlane1Value,
                                 p.ConstantPlane2Value};
  addConstant(source, result, plane < 0 ? p.ConstantValue : planeConstants[plane],
              p.OverflowMode == lumIPOneImageAddSubtractConstantOverflowModeWrap);
}

void CLumIPOneImageAddSubtractConstant::run(const lcPelBuffer<uint16_t>& source,
                                            lcPelBuffer<uint16_t>& result, const Parameters& p) {
  addConstant(source, result, p.ConstantValue,
              p.OverflowMode == lumIPOneImageAddSubtractConstantOverflowModeWrap);
}

void CLumIPOneImageMultiplyConstant::afterPropertyStored(DISPID id) {
  if (id != lumIPOneImageMultiplyConstant_OutputImageFormat) tables_.markStale();
}

CLumIPOneImageMultiplyConstant::Snapshot CLumIPOneImageMultiplyConstant::snapshot() {
  return tables_.snapshot(core().lock(), [&] {
    const bool wrap = OverflowMode == lumIPOneImageMultiplyConstantOverflowModeWrap;
    lcMultiplyTables tables;
    buildTable<uint8_t>(tables.grey8, 256, ConstantValue, wrap);
    const double planes[] = {ConstantPlane0Value, ConstantPlane1Value, ConstantPlane2Value};
    for (int p = 0; p < 3; ++p)
      buildTable<uint8_t>(tables.plane[p], 256, planes[p], wrap);
    tables.grey16.resize(65536);
    buildTable<uint16_t>(tables.grey16.data(), 65536, ConstantValue, wrap);
    ++tableBuilds_;
    return tables;
  });
}

void CLumIPOneImageMultiplyConstant::run(const lcPelBuffer<uint8_t>& source,
                                         lcPelBuffer<uint8_t>& result, const Snapshot& tables,
                                         int plane) {
  mapPels(source, result, plane < 0 ? tables->grey8 : tables->plane[plane]);
}

void CLumIPOneImageMultiplyConstant::run(const lcPelBuffer<uint16_t>& source,
                                         lcPelBuffer<uint16_t>& result, const Snapshot& tables) {
  mapPels(source, result, tables->grey16.data());
}
