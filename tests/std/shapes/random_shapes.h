#pragma once
// Random region shapes for property tests, from a seed.

#include <cmath>
#include <numbers>
#include <random>

#include "std/shapes/affine_rectangle.h"
#include "std/shapes/annulus.h"
#include "std/shapes/circle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/ellipse_annulus_section.h"
#include "std/shapes/gen_poly.h"
#include "std/shapes/gen_rect.h"

class RandomShapes {
 public:
  static constexpr double kPi = std::numbers::pi;

  explicit RandomShapes(uint32_t seed) : engine_(seed) {}

  double uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(engine_); }
  // Half-integers and quarter values now and then, so centres land on boundaries.
  double coordinate(double lo, double hi) {
    const double x = uniform(lo, hi);
    return pick(4) == 0 ? std::round(x * 4) / 4 : x;
  }
  int pick(int n) { return std::uniform_int_distribution<>(0, n - 1)(engine_); }
  lc2Vector point() { return {coordinate(-5, 25), coordinate(-5, 25)}; }

  lc2XformLinear transform() {
    const double r = uniform(-kPi, kPi), sx = uniform(0.3, 2), sy = uniform(0.3, 2);
    const double skew = uniform(-0.8, 0.8), flip = pick(2) ? 1.0 : -1.0;
    return lc2XformLinear(lc2Matrix(sx * std::cos(r), -sy * std::sin(r + skew), sx * std::sin(r),
                                    flip * sy * std::cos(r + skew)),
                          point());
  }

  lcShapeHandle shape() {
    switch (pick(9)) {
      case 0:
        return lcMakeHandle<lcRect>(coordinate(-5, 20), coordinate(-5, 20), coordinate(0, 15),
                                    coordinate(0, 15));
      case 1:
        return lcMakeHandle<lcAffineRectangle>(point(), uniform(1, 15), uniform(1, 15),
                                               uniform(-kPi, kPi), uniform(-1, 1));
      case 2:
        return lcMakeHandle<lcCircle>(point(), coordinate(0, 12));
      case 3:
        return lcMakeHandle<lcEllipse2>(
            lcEllipseAxes{point(), uniform(0.5, 12), uniform(0.5, 12), uniform(-kPi, kPi)});
      case 4: {
        const double outer = coordinate(1, 12);
        return lcMakeHandle<lcAnnulus>(point(), uniform(0, outer), outer);
      }
      case 5:
        return lcMakeHandle<lcEllipseAnnulus>(ellipse(), uniform(0, 2));
      case 6:
        return lcMakeHandle<lcEllipseAnnulusSection>(ellipse(), uniform(0, 2), uniform(-7, 7),
                                                     uniform(-7, 7));
      case 7:
        return lcMakeHandle<lcGenRect>(transform() * lc2XformLinear(lc2Matrix(8, 0, 0, 5), {}),
                                       uniform(0, 0.5), uniform(0, 0.5));
      default: {
        std::vector<lc2Vector> vertices(3 + pick(8));
        for (lc2Vector& v : vertices)
          v = point();
        return lcMakeHandle<lcGenPoly>(std::move(vertices));
      }
    }
  }

 private:
  lc2XformLinear ellipse() {
    return lc2XformLinear(lc2Matrix(uniform(-8, 8), uniform(-8, 8), uniform(-8, 8), uniform(-8, 8)),
                          point());
  }
  std::mt19937 engine_;
};
