#pragma once
// The lookup tables of the Sobel edge detector. Gradient components reduced to a and b
// in -127..127 give the 8-bit magnitude and the angle code by lookup, never by a square
// root or an arctangent per pixel.
//
// Magnitude, 128 x 128, index |a| * 128 + |b|:
//   truncate(min(2 sqrt(a^2 + b^2) 255 / 254 * scale, 255) + 0.499)
// Angle, 256 x 256, index (a mod 256) * 256 + (b mod 256), the components as bytes:
//   truncate(atan2(b, a) (plus 2 pi when negative) * 256 / (2 pi) + 0.5) mod 256,
// 256 codes per turn: 0 along +x, 64 along +y (down the image). atan2(0, 0) is 0.
// Axis, 256 entries: entry i is the magnitude of (i / 2 rounded down, 0), at least 1.

#include <array>
#include <cstdint>

#include "std/export.h"

using lcSobelMagnitudeTable = std::array<uint8_t, 128 * 128>;

struct lcSobelTables {
  lcSobelMagnitudeTable magnitude;  // scale 1
  std::array<uint8_t, 256 * 256> angle;
  std::array<uint8_t, 256> axis;
};

// Built once when the library loads; read-only afterwards, so shared by every thread.
const lcSobelTables& lcSobelEdgeTables();

// The magnitude table with every magnitude multiplied by `scale` (saturating at 255).
lcSobelMagnitudeTable lcMakeSobelMagnitudeTable(double scale);
