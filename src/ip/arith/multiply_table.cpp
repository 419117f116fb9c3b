#include "ip/arith/multiply_table.h"

#include <cmath>

#include "std/pelbuf/pel_errors.h"

namespace {

// Entry i of a table with entries of type T.
template <class T>
T entry(int i, const lcMultiplyParams& params) {
  constexpr double kMax = T(~T{0});
  const double v = std::trunc(i * params.constant + 0.5);
  if (!params.wrap) return static_cast<T>(v >= kMax ? kMax : v);
  if (!(v < 0x1p63)) return 0;  // 2^63 and beyond: the low bits of 2^63
  return static_cast<T>(static_cast<uint64_t>(v));
}

template <class T, class Table>
void fill(Table& table, const lcMultiplyParams& params) {
  if (!(params.constant >= 0))
    throw lcPelFunc::BadParams(L"a multiplying constant must be a number not below 0");
  table[0] = 0;
  for (int i = 1; i < static_cast<int>(table.size()); ++i)
    table[i] = entry<T>(i, params);
}

}  // namespace

std::array<uint8_t, 256> lcMultiplyTable8(const lcMultiplyParams& params) {
  std::array<uint8_t, 256> table;
  fill<uint8_t>(table, params);
  return table;
}

std::vector<uint16_t> lcMultiplyTable16(const lcMultiplyParams& params) {
  std::vector<uint16_t> table(65536);
  fill<uint16_t>(table, params);
  return table;
}
