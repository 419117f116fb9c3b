#pragma once
// A non-linear transform for tests: (x, y) -> (x + amplitude * sin(y), y). It has a
// linear approximation but no inverse, and archives under the name "test.Wave".

#include <cmath>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/math/xform_base.h"

class WaveXform final : public lc2XformBase {
 public:
  WaveXform() = default;
  explicit WaveXform(double amplitude) : amplitude_(amplitude) {}

  double amplitude() const { return amplitude_; }

  lc2Vector mapPoint(const lc2Vector& p) const override {
    return {p.x + amplitude_ * std::sin(p.y), p.y};
  }
  lc2XformLinear linearApprox(const lc2Vector& p) const override {
    const lc2Matrix jacobian(1.0, amplitude_ * std::cos(p.y), 0.0, 1.0);
    return lc2XformLinear(jacobian, mapPoint(p) - jacobian * p);
  }
  lc2XformHandle clone() const override { return lcMakeHandle<WaveXform>(*this); }
  void archive(lcArchive& archive) override {
    archive.transferVersion(1, "testwave", __LINE__);
    lc2XformBase::archive(archive);
    archive.transfer(amplitude_);
  }

 private:
  double amplitude_ = 0.0;
};

inline const bool waveXformRegistered = lcRegisterArchivable<WaveXform>("test.Wave");
