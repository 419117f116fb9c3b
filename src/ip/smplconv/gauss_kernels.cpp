#include "ip/smplconv/gauss_kernels.h"

#include <algorithm>
#include <cmath>

#include "ip/smplconv/sample_convolve.h"

std::vector<int32_t> lcGaussKernel(double sigma) {
  if (!(sigma >= 0)) throw lcSampleConvolveDefs::BadParams(L"sigma is not negative");
  const auto half = int32_t(std::ceil(std::min(3 * sigma, lcMaxSampleKernelSize / 2.0 - 0.5)));
  std::vector<int32_t> kernel(std::size_t(2 * half + 1));
  for (int32_t k = -half; k <= half; ++k)
    kernel[std::size_t(k + half)] =
        sigma == 0 ? (k == 0 ? lcMaxSampleKernelWeight : 0)
                   : int32_t(std::lround(lcMaxSampleKernelWeight *
                                         std::exp(-double(k) * k / (2 * sigma * sigma))));
  // Outer weights that rounded to 0 only widen the work.
  while (kernel.size() > 1 && kernel.front() == 0) {
    kernel.erase(kernel.begin());
    kernel.pop_back();
  }
  return kernel;
}

double lcGaussSampleSigma(double rate) {
  if (!(rate > 0 && std::isfinite(rate)))
    throw lcSampleConvolveDefs::BadParams(L"sample rates are finite and positive");
  return rate <= 1 ? 0.0 : 0.5 * std::sqrt(rate * rate - 1);
}
