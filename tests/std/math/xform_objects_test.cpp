#include <gtest/gtest.h>

#include "std/math/math_errors.h"
#include "std/math/xform_cache.h"
#include "std/math/xform_composed.h"
#include "std/math/xform_linear_object.h"
#include "std/pelbuf/pel_errors.h"
#include "test_util.h"
#include "wave_xform.h"

namespace {

const lc2XformLinear kA(lc2Matrix(2, 0.5, -1, 3), {5, -7});
const lc2XformLinear kB(lc2Matrix(0, 1, -1, 0), {0.25, 4});
const lc2Vector kPoints[] = {{0, 0}, {1.5, -2}, {-30, 12.25}};

lc2XformHandle wave() {
  return lcMakeHandle<WaveXform>(0.5);
}

TEST(Xform2Objects, CompositionIsLinearOnlyWhenBothAreLinear) {
  const lc2XformHandle linear = lcMakeXform(kA)->compose(lcMakeXform(kB));
  ASSERT_TRUE(linear->isLinear());
  EXPECT_EQ(linear->linearApprox({}), kA * kB);

  const lc2XformHandle chain =
      lcMakeHandle<lc2XformComposed>(std::vector<lc2XformHandle>{wave(), lcMakeXform(kA)});
  struct Case {
    lc2XformHandle second, first;
    std::size_t flatLength;
  };
  for (const Case& c :
       {Case{lcMakeXform(kA), wave(), 2}, Case{wave(), lcMakeXform(kA), 2}, Case{wave(), wave(), 2},
        Case{chain, lcMakeXform(kB), 3}, Case{lcMakeXform(kB), chain, 3}}) {
    const lc2XformHandle composed = c.second->compose(c.first);
    EXPECT_FALSE(composed->isLinear());
    const auto* asChain = dynamic_cast<const lc2XformComposed*>(composed.get());
    ASSERT_NE(asChain, nullptr);
    EXPECT_EQ(asChain->list().size(), c.flatLength);
    for (const lc2Vector& p : kPoints)
      EXPECT_EQ(composed->mapPoint(p), c.second->mapPoint(c.first->mapPoint(p)));
  }
}

TEST(Xform2Objects, AChainStartsAsOneIdentityAndMapsItsLastElementFirst) {
  const lc2XformComposed empty;
  ASSERT_EQ(empty.list().size(), 1u);
  EXPECT_EQ(empty.mapPoint({3, 4}), (lc2Vector{3, 4}));
  EXPECT_FALSE(empty.isLinear());

  const lc2XformComposed chain({lcMakeXform(kA), lcMakeXform(kB)});
  for (const lc2Vector& p : kPoints)
    EXPECT_EQ(chain.mapPoint(p), kA.mapPoint(kB.mapPoint(p)));
}

TEST(Xform2Objects, AChainIsApproximatedByTheProductOfItsElementsApproximations) {
  const lc2XformComposed chain({lcMakeXform(kA), wave(), lcMakeXform(kB)});
  const double h = 1e-6;
  for (const lc2Vector& p : kPoints) {
    const lc2XformLinear approx = chain.linearApprox(p);
    const lc2Vector at = chain.mapPoint(p);
    EXPECT_NEAR(approx.mapPoint(p).x, at.x, 1e-9);
    EXPECT_NEAR(approx.mapPoint(p).y, at.y, 1e-9);
    // Central differences along x and y against the matrix's columns.
    const lc2Vector dx = chain.mapPoint(p + lc2Vector{h, 0}) - chain.mapPoint(p - lc2Vector{h, 0});
    const lc2Vector dy = chain.mapPoint(p + lc2Vector{0, h}) - chain.mapPoint(p - lc2Vector{0, h});
    EXPECT_NEAR(approx.matrix().a(), dx.x / (2 * h), 1e-6);
    EXPECT_NEAR(approx.matrix().c(), dx.y / (2 * h), 1e-6);
    EXPECT_NEAR(approx.matrix().b(), dy.x / (2 * h), 1e-6);
    EXPECT_NEAR(approx.matrix().d(), dy.y / (2 * h), 1e-6);
  }
}

TEST(Xform2Objects, InversesUndoOrSayWhyNot) {
  const lc2XformHandle chain =
      lcMakeHandle<lc2XformComposed>(std::vector<lc2XformHandle>{lcMakeXform(kA), lcMakeXform(kB)});
  const lc2XformHandle inverse = chain->inverse();
  for (const lc2Vector& p : kPoints) {
    EXPECT_NEAR(inverse->mapPoint(chain->mapPoint(p)).x, p.x, 1e-12);
    EXPECT_NEAR(inverse->mapPoint(chain->mapPoint(p)).y, p.y, 1e-12);
  }
  EXPECT_THROW(lcMakeXform(lc2XformLinear(lc2Matrix(0, 0, 0, 0), {}))->inverse(),
               lcMathError::Singular);
  EXPECT_THROW(lcMakeXform(kA)->compose(wave())->inverse(), lc2XformDefs::NotImplemented);
  EXPECT_THROW(lcMakeXform(kA)->compose(nullptr), lcBadPointer);
}

TEST(Xform2Cache, HoldsWhatItWorkedOutWhenTheTransformWasSet) {
  const lc2XformHandle singular = lcMakeXform(lc2XformLinear(lc2Matrix(0, 0, 0, 0), {1, 1}));
  struct Case {
    lc2XformCache cache;
    bool linear;
    uint32_t inverseCode;
  };
  const Case cases[] = {
      {lc2XformCache(), true, 0},
      {lc2XformCache(lcMakeXform(kA)), true, 0},
      {lc2XformCache(singular), true, lcMathError::Singular::kCode},
      {lc2XformCache(wave()), false, lc2XformDefs::NotImplemented::kCode},
      // Only the linear class counts as linear, even for a chain of linear maps.
      {lc2XformCache(lcMakeHandle<lc2XformComposed>(std::vector{lcMakeXform(kA)})), false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.cache.isLinear(), c.linear);
    if (c.linear)
      EXPECT_EQ(c.cache.linear(), c.cache.xform()->linearApprox({}));
    else
      EXPECT_THROW(c.cache.linear(), lcPel::NonlinearXform);
    EXPECT_EQ(thrownCode([&] { c.cache.inverse(); }), c.inverseCode);
  }
  EXPECT_THROW(lc2XformCache(nullptr), lcBadPointer);
}

}  // namespace
