#include "ip/histo/otsu_threshold.h"

void lcOtsuThreshold::compute(std::span<const uint64_t> histogram, int64_t left, int64_t right) {
  computed_ = false;
  if (left < 0) throw lcThresholdDefs::BadParams(L"leftIndex must be >= 0");
  if (right > static_cast<int64_t>(histogram.size()))
    throw lcThresholdDefs::BadParams(L"rightIndex must be <= histogram.size()");
  if (right <= left) throw lcThresholdDefs::BadParams(L"rightIndex must be > leftIndex");
  while (left < right && histogram[left] == 0)
    ++left;
  while (right > left && histogram[right - 1] == 0)
    --right;
  if (left == right)
    throw lcThresholdDefs::BadParams(L"There must at least one nonzero histogram value.");
  if (right - left == 1) {
    threshold_ = static_cast<int32_t>(left), quality_ = 0, computed_ = true;
    return;
  }
  double count = 0, sum = 0, squares = 0;
  for (int64_t i = left; i < right; ++i) {
    const double n = static_cast<double>(histogram[i]);
    count += n, sum += n * i, squares += n * i * i;
  }
  double w = 0, s = 0, best = -1;
  int64_t bestBin = left;
  for (int64_t t = left; t < right - 1; ++t) {
    if (histogram[t] == 0) continue;
    const double n = static_cast<double>(histogram[t]);
    w += n, s += n * t;
    const double between = (sum - s) * w - (count - w) * s;
    const double criterion = between * between / ((count - w) * w);
    if (criterion > best) best = criterion, bestBin = t;
  }
  threshold_ = static_cast<int32_t>(bestBin + 1);
  const double spread = count * squares - sum * sum;
  quality_ = spread > 0 ? best / spread : 0;
  computed_ = true;
}

int32_t lcOtsuThreshold::threshold() const {
  if (!computed_) throw lcThresholdDefs::NotComputed();
  return threshold_;
}

double lcOtsuThreshold::quality() const {
  if (!computed_) throw lcThresholdDefs::NotComputed();
  return quality_;
}
