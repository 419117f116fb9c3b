#include "std/math/angle.h"

#include <cmath>
#include <numbers>

double lcNormalizeAngle(double theta) {
  constexpr double pi = std::numbers::pi;
  constexpr double twoPi = 2.0 * std::numbers::pi;
  if (theta >= -pi && theta < pi) return theta;
  double r = std::fmod(theta, twoPi);
  if (r < 0.0) r += twoPi;
  return r >= pi ? r - twoPi : r;
}
