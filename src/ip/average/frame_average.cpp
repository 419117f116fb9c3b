#include "ip/average/frame_average.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "ip/average/accumulate_rows.h"
#include "std/util/kernel_selection.h"
#include "std/util/row_bands.h"
#include "std/util/worker_pool.h"

namespace {

// A point kernel's band rule: about a million pixels a band before a worker pays.
inline constexpr lcBandRule kBands{1 << 20, 0};

constexpr uint32_t kVersion = 1;

// Runs rowFunction(y) for every row 0..height-1 of a width-wide image, in bands.
template <class RowFunction>
void forEachRowInBands(int32_t width, int32_t height, const RowFunction& rowFunction) {
  const auto bands = lcKernelBands(height, width, kBands, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    for (int32_t y = band.begin; y < band.end; ++y)
      rowFunction(y);
  });
}

// A buffer of `like`'s window size, buffer coordinates and transform, every pixel 0.
template <class T, class U>
lcPelBuffer<T> zeroedLike(const lcPelBuffer<U>& like) {
  lcPelBuffer<T> buffer;
  const lcPelRect rect = like.bufferRect();
  buffer.allocate(rect.width(), rect.height(), rect.x0, rect.y0);
  buffer.setXform(like.xform());
  const lcPelRows<T> rows = buffer.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    std::fill_n(rows[y], rows.width, T{0});
  return buffer;
}

// Round half away from zero of a non-negative float.
uint8_t roundedPel(float value) {
  return static_cast<uint8_t>(std::lround(value));
}

}  // namespace

void lcFrameAverageBuffer::reset(bool standardDeviation) {
  standardDeviation_ = standardDeviation;
  count_ = 0;
  sums_ = {};
  squares_ = {};
}

void lcFrameAverageBuffer::add(const lcPelBuffer<uint8_t>& frame) {
  if (!frame.isBound() || frame.isEmpty()) throw lcFrameAverageDefs::ImageUnbound();
  if (count_ > 0 && (frame.width() != sums_.width() || frame.height() != sums_.height()))
    throw lcFrameAverageDefs::WindowsDiffer();
  if (count_ >= kMaxFrames)
    throw lcFrameAverageDefs::BadParams(L"The frame average holds at most 257 frames.");
  if (count_ == 0) {  // allocate before touching anything, so a failure changes nothing
    lcPelBuffer<uint16_t> sums = zeroedLike<uint16_t>(frame);
    lcPelBuffer<uint32_t> squares;
    if (standardDeviation_) squares = zeroedLike<uint32_t>(frame);
    sums_ = std::move(sums);
    squares_ = std::move(squares);
  }
  const lcPelRows<const uint8_t> in = frame.rows();
  const lcPelRows<uint16_t> sums = sums_.rows();
  lcPelRows<uint32_t> squares{};
  if (squares_.isBound()) squares = squares_.rows();
  const auto run = [&](auto addRow) {
    forEachRowInBands(in.width, in.height, [&](int32_t y) {
      addRow(in[y], sums[y], squares.first == nullptr ? nullptr : squares[y], in.width);
    });
    return int32_t{0};
  };
  lcRunKernel(
      "cip_frameAverageAdd_8", [&] { return run(lcAccumulateRows::addFast); },
      [&] { return run(lcAccumulateRows::addPortable); });
  ++count_;
}

lcPelBuffer<uint8_t> lcFrameAverageBuffer::resultLike() const {
  lcPelBuffer<uint8_t> result;
  const lcPelRect rect = sums_.bufferRect();
  result.allocate(rect.width(), rect.height(), rect.x0, rect.y0);
  result.setXform(sums_.xform());
  return result;
}

lcPelBuffer<uint8_t> lcFrameAverageBuffer::average() const {
  if (count_ < 1) throw lcFrameAverageDefs::DivideByZero();
  lcPelBuffer<uint8_t> result = resultLike();
  const lcPelRows<const uint16_t> sums = sums_.rows();
  const lcPelRows<uint8_t> out = result.rows();
  const uint32_t n = static_cast<uint32_t>(count_), half = n / 2;
  forEachRowInBands(out.width, out.height, [&](int32_t y) {
    const uint16_t* sum = sums[y];
    uint8_t* pel = out[y];
    for (int32_t x = 0; x < out.width; ++x)
      pel[x] = static_cast<uint8_t>((sum[x] + half) / n);
  });
  return result;
}

lcPelBuffer<uint8_t> lcFrameAverageBuffer::standardDeviation() const {
  if (!standardDeviation_ || count_ < 1) throw lcFrameAverageDefs::BadParams();
  lcPelBuffer<uint8_t> result = resultLike();
  const lcPelRows<uint8_t> out = result.rows();
  if (count_ == 1) {
    for (int32_t y = 0; y < out.height; ++y)
      std::fill_n(out[y], out.width, uint8_t{0});
    return result;
  }
  const lcPelRows<const uint16_t> sums = sums_.rows();
  const lcPelRows<const uint32_t> squares = squares_.rows();
  const double n = count_, scale = 1.0 / (n * (n - 1.0));
  forEachRowInBands(out.width, out.height, [&](int32_t y) {
    for (int32_t x = 0; x < out.width; ++x) {
      const double s = sums[y][x];
      const double v = (n * squares[y][x] - s * s) * scale;
      out[y][x] = v <= 0 ? uint8_t{0} : roundedPel(static_cast<float>(std::sqrt(v)));
    }
  });
  return result;
}

void lcFrameAverageBuffer::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "frameavg", __LINE__);
  if (archive.isStoring()) {
    uint8_t flag = standardDeviation_ ? 1 : 0;
    int32_t mode = 0, count = count_;
    archive.transfer(flag);
    archive.transfer(mode);
    archive.transfer(count);
    sums_.archive(archive);
    squares_.archive(archive);
    return;
  }
  uint8_t flag = 0;
  int32_t mode = 0, count = 0;
  archive.transfer(flag);
  archive.transfer(mode);
  archive.transfer(count);
  if (mode != 0) throw lcFrameAverageDefs::NotImplemented(L"rolling average");
  lcPelBuffer<uint16_t> sums;
  lcPelBuffer<uint32_t> squares;
  sums.archive(archive);
  squares.archive(archive);
  const bool empty = count == 0;
  const bool consistent = flag <= 1 && count >= 0 && count <= kMaxFrames &&
                          sums.isBound() != empty && squares.isBound() == (!empty && flag == 1) &&
                          (!squares.isBound() ||
                           (squares.width() == sums.width() && squares.height() == sums.height()));
  if (!consistent) throw lcArchive::BadContent(L"a frame average whose parts disagree");
  standardDeviation_ = flag == 1;
  count_ = count;
  sums_ = std::move(sums);
  squares_ = std::move(squares);
}
