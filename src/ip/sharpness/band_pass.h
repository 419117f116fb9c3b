#pragma once
// The band-pass sharpness: the spectral magnitude of a window within a band of radial
// frequencies. Windows of at most 2048 x 2048 pixels.

#include "std/pelbuf/pel_buffer.h"

// The sum over the spectrum of |F(u, v)| x H(f): F the discrete Fourier transform of the
// window's mean-free, Hann-tapered pixels (zero-padded to powers of two, divided by the
// pixel count), f the radial frequency in cycles per pixel, and H a Gaussian band of
// centre (low + high) / 2 and standard deviation (high - low) / 2 (at least 1/64).
double lcBandPassEnergy(const lcPelBuffer<uint8_t>& src, double low, double high);
