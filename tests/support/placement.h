#pragma once
// Where the pixels of operator outputs lie in client coordinates: images placed by random
// linear transforms, and the check that an output pixel holds the input pixel lying under
// its centre, for operators that move pixels without changing their values.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "support/test_images.h"

namespace lumtest {

// Gives `image` a random pixel-from-root transform (a well-conditioned linear map).
inline void placeRandomly(ILumImage* image, std::mt19937& random) {
  std::uniform_real_distribution<double> small(-0.4, 0.4), shift(-50, 50);
  auto transform = createObject<ILumTransform2DLinear>(CLSID_LumTransform2DLinear);
  transform->SetValues(1.5 + small(random), small(random), small(random), -0.8 + small(random),
                       shift(random), shift(random));
  image->put_PixelFromRootTransform(transform.get());
}

// Maps (x, y) from space `source` of `image` to space `target`.
inline std::pair<double, double> mapped(ILumImage* image, const wchar_t* target,
                                        const wchar_t* source, double x, double y) {
  ComPtr<ILumTransform2D> t;
  image->GetTransform(lum::Bstr(target).get(), lum::Bstr(source).get(), t.put());
  double mx = 0, my = 0;
  t->MapPoint(x, y, &mx, &my);
  return {mx, my};
}

// Each pixel of `output`, an 8-bit image, holds the pixel of `input` that lies under the
// output pixel's centre in client coordinates. Returns how many pixels were checked.
inline int expectPixelsSitOnTheirSources(ILumImage* input, ILumImage* output) {
  const auto in = pixels8(input), out = pixels8(output);
  for (std::size_t y = 0; y < out.size(); ++y)
    for (std::size_t x = 0; x < out[y].size(); ++x) {
      const auto [cx, cy] = mapped(output, L".", L"#", x + 0.5, y + 0.5);
      const auto [px, py] = mapped(input, L"#", L".", cx, cy);
      const auto sx = std::size_t(std::floor(px)), sy = std::size_t(std::floor(py));
      EXPECT_LT(sy, in.size());
      if (sy >= in.size() || sx >= in[sy].size()) return 0;
      EXPECT_EQ(out[y][x], in[sy][sx]) << "output pixel " << x << "," << y;
      if (out[y][x] != in[sy][sx]) return 0;
    }
  return int(out.size() * (out.empty() ? 0 : out[0].size()));
}

}  // namespace lumtest
