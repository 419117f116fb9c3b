#pragma once
// The plot of a histogram result: its counts, their running sum, the median and mean
// lines with labels, axes and tick marks, as the result's graphic options select.

#include <cstdint>
#include <span>

#include "components/histo/plot_graphics.h"

// `bins` are the result's counts, `median` and `mean` its statistics in bins; `options`
// are LumHistogramResultGraphicConstants flags. Throws.
ComPtr<ILumGraphicCollection> lcDrawHistogram(std::span<const uint32_t> bins, LONG median,
                                              double mean, LONG options);
