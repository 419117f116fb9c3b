#include "ip/sobel95/sobel_tables.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

lcSobelTables buildTables() {
  lcSobelTables tables{};
  tables.magnitude = lcMakeSobelMagnitudeTable(1.0);
  constexpr double kTurn = 2 * std::numbers::pi;
  for (int a = -127; a <= 127; ++a)
    for (int b = -127; b <= 127; ++b) {
      double theta = std::atan2(double(b), double(a));
      if (theta < 0) theta += kTurn;
      const auto code = static_cast<int>(theta * 256 / kTurn + 0.5);
      tables.angle[static_cast<std::size_t>((a & 255) * 256 + (b & 255))] =
          static_cast<uint8_t>(code & 255);
    }
  for (std::size_t i = 0; i < tables.axis.size(); ++i)
    tables.axis[i] = std::max<uint8_t>(tables.magnitude[i / 2 * 128], 1);
  return tables;
}

const lcSobelTables kTables = buildTables();

}  // namespace

const lcSobelTables& lcSobelEdgeTables() {
  return kTables;
}

lcSobelMagnitudeTable lcMakeSobelMagnitudeTable(double scale) {
  lcSobelMagnitudeTable table{};
  for (int a = 0; a < 128; ++a)
    for (int b = 0; b < 128; ++b) {
      const double magnitude = 2 * std::sqrt(double(a * a + b * b)) * 255 / 254 * scale;
      table[static_cast<std::size_t>(a * 128 + b)] =
          static_cast<uint8_t>(std::min(magnitude, 255.0) + 0.499);
    }
  return table;
}
