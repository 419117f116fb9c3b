#pragma once
// Integer Gaussian kernels for the sample convolve: weights round(128 exp(-k^2 / (2
// sigma^2))) for k from -h to h, h = ceil(3 sigma) but at most 63 (127 weights), so the
// centre weight is 128 and the bell is cut where it falls below half a unit. Sigma 0
// gives the single weight 128, which samples without smoothing.

#include <cstdint>
#include <vector>

// lcSampleConvolveDefs::BadParams for a negative sigma or NaN; an infinite one gives 127
// weights of 128.
std::vector<int32_t> lcGaussKernel(double sigma);

// The smoothing for sampling at `rate`: sigma = sqrt(rate^2 - 1) / 2, which widens a
// pixel's own extent to the rate's, and 0 for rates up to 1 (nothing to smooth away).
// BadParams for a rate that is not finite and positive.
double lcGaussSampleSigma(double rate);
