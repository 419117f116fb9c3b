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
lc2XformHandle chainOf(std::vector<lc2XformHandle> list) {
  return lcMakeHandle<lc2XformComposed>(std::move(list));
}

TEST(Xform2Objects, CompositionIsLinearOnlyForTwoLinearTransforms) {
  const lc2XformHandle linear = lcMakeXform(kA)->compose(lcMakeXform(kB));
  ASSERT_TRUE(linear->isLinear());
  EXPECT_EQ(linear->linearApprox({}), kA * kB);

  const lc2XformHandle chain = chainOf({wave(), lcMakeXform(kA)});
  for (const auto& [second, first, length] : {std::tuple{lcMakeXform(kA), wave(), 2u},
                                              {wave(), lcMakeXform(kA), 2u},
                                              {wave(), wave(), 2u},
                                              {chain, lcMakeXform(kB), 3u},
                                              {lcMakeXform(kB), chain, 3u}}) {
    const lc2XformHandle composed = second->compose(first);
    const auto* asChain = dynamic_cast<const lc2XformComposed*>(composed.get());
    ASSERT_NE(asChain, nullptr);
    EXPECT_FALSE(composed->isLinear());
    EXPECT_EQ(asChain->list().size(), length);  // chains are flattened
    for (const lc2Vector& p : kPoints)
      EXPECT_EQ(composed->mapPoint(p), second->mapPoint(first->mapPoint(p)));
  }
  EXPECT_EQ(lc2XformComposed().mapPoint({3, 4}), (lc2Vector{3, 4}));  // starts as the identity
}

TEST(Xform2Objects, AChainIsApproximatedByItsDerivativeAndUndoneInReverse) {
  const lc2XformHandle chain = chainOf({lcMakeXform(kA), wave(), lcMakeXform(kB)});
  const double h = 1e-6;
  for (const lc2Vector& p : kPoints) {
    // Agrees at p, with columns equal to central differences there.
    const lc2XformLinear approx = chain->linearApprox(p);
    const lc2Vector dx =
        chain->mapPoint(p + lc2Vector{h, 0}) - chain->mapPoint(p - lc2Vector{h, 0});
    const lc2Vector dy =
        chain->mapPoint(p + lc2Vector{0, h}) - chain->mapPoint(p - lc2Vector{0, h});
    const lc2Matrix& m = approx.matrix();
    for (const auto& [found, expected, tolerance] :
         {std::tuple{approx.mapPoint(p).x, chain->mapPoint(p).x, 1e-9},
          {approx.mapPoint(p).y, chain->mapPoint(p).y, 1e-9},
          {m.a(), dx.x / (2 * h), 1e-6},
          {m.c(), dx.y / (2 * h), 1e-6},
          {m.b(), dy.x / (2 * h), 1e-6},
          {m.d(), dy.y / (2 * h), 1e-6}})
      EXPECT_NEAR(found, expected, tolerance);
  }
  const lc2XformHandle linearChain = chainOf({lcMakeXform(kA), lcMakeXform(kB)});
  const lc2Vector back = linearChain->inverse()->mapPoint(linearChain->mapPoint({3, 4}));
  EXPECT_NEAR(back.x, 3, 1e-12);
  EXPECT_NEAR(back.y, 4, 1e-12);
  EXPECT_THROW(chain->inverse(), lc2XformDefs::NotImplemented);
}

TEST(Xform2Cache, HoldsWhatItWorkedOutWhenTheTransformWasSet) {
  const lc2XformHandle singular = lcMakeXform(lc2XformLinear(lc2Matrix(0, 0, 0, 0), {1, 1}));
  struct Case {
    lc2XformCache cache;
    bool linear;
    uint32_t inverseCode;
  };
  for (const Case& c :
       {Case{lc2XformCache(), true, 0u}, Case{lc2XformCache(lcMakeXform(kA)), true, 0u},
        Case{lc2XformCache(singular), true, lcMathError::Singular::kCode},
        Case{lc2XformCache(wave()), false, lc2XformDefs::NotImplemented::kCode},
        // Only the linear class counts as linear, even a chain of one linear map.
        Case{lc2XformCache(chainOf({lcMakeXform(kA)})), false, 0u}}) {
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
