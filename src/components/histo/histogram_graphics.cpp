#include "components/histo/histogram_graphics.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "ip/histo/histo_stats.h"
#include "lumxip/ip/histogram.h"

namespace {

constexpr size_t kDisplayBins = 256;
constexpr LONG kHistogramColor = lumColorGreen;
constexpr LONG kCumulativeColor = 0x00FFFF00;  // cyan

// The counts as drawn (more than 256 bins are summed into 256 as re-binning does) and
// the display positions of median and mean.
struct Display {
  std::vector<uint64_t> counts;
  double median = 0, mean = 0;
};

Display displayOf(std::span<const uint32_t> bins, LONG median, double mean) {
  Display display;
  display.counts.assign(bins.begin(), bins.end());
  display.median = median;
  display.mean = mean;
  if (bins.size() <= kDisplayBins) return display;
  const double range = static_cast<double>(bins.size());
  display.counts = lcRebinHistogram(display.counts, kDisplayBins);
  display.median = std::trunc(median / range * kDisplayBins + 0.5);
  display.mean = mean / range * kDisplayBins;
  return display;
}

// Vertex i at x = i, its value scaled so that `top` reaches the top of the plot area.
std::vector<double> curve(std::span<const uint64_t> values, uint64_t top) {
  const double scale = kPlotSize / static_cast<double>(std::max<uint64_t>(top, 1));
  std::vector<double> xy;
  xy.reserve(2 * values.size());
  for (size_t i = 0; i < values.size(); ++i) {
    xy.push_back(static_cast<double>(i));
    xy.push_back(kPlotSize - static_cast<double>(values[i]) * scale);
  }
  return xy;
}

void addMarker(lcPlotGraphics& plot, const wchar_t* name, const wchar_t* labelName, double x,
               double labelY, double value, LONG color) {
  const std::wstring number = lcPlotNumber(value);
  const std::wstring tip = std::wstring(name) + L": " + number;
  plot.addLine(name, x, 0, x, kPlotSize, color, tip);
  plot.addText(labelName, x + 2, labelY, number, color, tip);
}

}  // namespace

ComPtr<ILumGraphicCollection> lcDrawHistogram(std::span<const uint32_t> bins, LONG median,
                                              double mean, LONG options) {
  const auto selected = [&](LONG flag) { return (options & flag) != 0; };
  const Display display = displayOf(bins, median, mean);
  lcPlotGraphics plot(selected(lumHistogramResultGraphicTipText));
  if (selected(lumHistogramResultGraphicHistogram)) {
    const uint64_t largest = display.counts.empty()
                                 ? 0
                                 : *std::max_element(display.counts.begin(), display.counts.end());
    plot.addPolyline(L"Histogram", curve(display.counts, largest), kHistogramColor, L"Histogram");
  }
  if (selected(lumHistogramResultGraphicCumulativeHistogram)) {
    std::vector<uint64_t> running(display.counts.size());
    std::partial_sum(display.counts.begin(), display.counts.end(), running.begin());
    plot.addPolyline(L"CumulativeHistogram", curve(running, running.empty() ? 0 : running.back()),
                     kCumulativeColor, L"Cumulative histogram");
  }
  if (selected(lumHistogramResultGraphicMedian))
    addMarker(plot, L"Median", L"MedianLabel", display.median, 2, median, lumColorYellow);
  if (selected(lumHistogramResultGraphicMean))
    addMarker(plot, L"Mean", L"MeanLabel", display.mean, 14, mean, lumColorWhite);
  if (selected(lumHistogramResultGraphicAxes)) {
    plot.addAxes(L"Axes");
    const wchar_t* ticks[] = {L"Tick1", L"Tick2", L"Tick3", L"Tick4"};
    // A tick's tip names the bin under it.
    const double binsPerUnit = std::max(1.0, static_cast<double>(bins.size()) / kDisplayBins);
    for (int i = 0; i < 4; ++i) {
      const double x = 64.0 * (i + 1);
      plot.addLine(ticks[i], x, 252, x, 260, kPlotAxesColor, lcPlotNumber(x * binsPerUnit));
    }
  }
  return plot.collection();
}
