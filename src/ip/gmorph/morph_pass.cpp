#include "ip/gmorph/morph_pass.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "ip/gmorph/morph_rows.h"
#include "std/pelbuf/pel_bands.h"
#include "std/util/aliasing_offset.h"
#include "std/util/kernel_selection.h"

namespace {

using Band = lcPelBand<uint8_t, uint8_t>;

uint8_t neutralOf(bool erode) {
  return erode ? uint8_t{255} : uint8_t{0};
}

// Where a band reads: result column x lies on input column x + dx; cell column c reads
// input column x + first + c with first = dx - N / 2 (rows alike).
struct Reach {
  int32_t first;
  int32_t top;
  Reach(const Band& job, const lcMorphElement& element)
      : first(job.dx - element.width / 2), top(job.dy - element.height / 2) {}
};

// The rule, pixel by pixel.
void portableBand(const Band& job, const lcMorphElement& element, bool erode,
                  const lcPelRows<const uint8_t>* take) {
  const Reach at(job, element);
  for (int32_t y = job.band.begin; y < job.band.end; ++y)
    for (int32_t x = 0; x < job.out.width; ++x) {
      uint8_t result = neutralOf(erode);
      for (int32_t r = 0; r < element.height; ++r) {
        const int32_t iy = y + at.top + r;
        if (iy < 0 || iy >= job.in.height) continue;
        for (int32_t c = 0; c < element.width; ++c) {
          const std::size_t cell = static_cast<std::size_t>(r * element.width + c);
          const int32_t ix = x + at.first + c;
          if (element.care[cell] == 0 || ix < 0 || ix >= job.in.width) continue;
          if (take != nullptr && take[0][iy][ix] == 0) continue;
          const uint8_t term = lcMorphRows::cellTerm(job.in[iy][ix], element.offsets[cell], erode);
          result = erode ? std::min(result, term) : std::max(result, term);
        }
      }
      job.out[y][x] = result;
    }
}

// `length` pixels of an input row from column `first` on; columns beyond the row are
// `fill`.
void paddedRow(const uint8_t* row, int32_t rowWidth, int32_t first, int32_t length, uint8_t fill,
               uint8_t* out) {
  const int32_t begin = std::clamp(-first, 0, length);
  const int32_t end = std::clamp(rowWidth - first, begin, length);
  std::fill(out, out + begin, fill);
  if (end > begin)
    std::memcpy(out + begin, row + first + begin, static_cast<std::size_t>(end - begin));
  std::fill(out + end, out + length, fill);
}

// Any element, any take mask: one vector pass over the row per care cell.
void weightedBand(const Band& job, const lcMorphElement& element, bool erode,
                  const lcPelRows<const uint8_t>* take) {
  const Reach at(job, element);
  const int32_t width = job.out.width;
  const int32_t length = width + element.width - 1;
  const bool clipped = at.first < 0 || at.first + length > job.in.width;
  std::vector<uint8_t> pels(static_cast<std::size_t>(length));
  std::vector<uint8_t> takes(static_cast<std::size_t>(length));
  const std::vector<uint8_t> inside(static_cast<std::size_t>(job.in.width), 255);
  for (int32_t y = job.band.begin; y < job.band.end; ++y) {
    uint8_t* out = job.out[y];
    std::fill_n(out, width, neutralOf(erode));
    for (int32_t r = 0; r < element.height; ++r) {
      const int32_t iy = y + at.top + r;
      if (iy < 0 || iy >= job.in.height) continue;
      paddedRow(job.in[iy], job.in.width, at.first, length, 0, pels.data());
      const uint8_t* takeRow = nullptr;
      if (take != nullptr || clipped) {
        paddedRow(take != nullptr ? take[0][iy] : inside.data(), job.in.width, at.first, length, 0,
                  takes.data());
        takeRow = takes.data();
      }
      for (int32_t c = 0; c < element.width; ++c) {
        const std::size_t cell = static_cast<std::size_t>(r * element.width + c);
        if (element.care[cell] == 0) continue;
        lcMorphRows::accumulateCell(out, pels.data() + c,
                                    takeRow != nullptr ? takeRow + c : nullptr, width,
                                    element.offsets[cell], erode);
      }
    }
  }
}

// Up to this many columns of a row window are combined directly, one vector step each;
// wider windows take a cost that grows with log N.
constexpr int32_t kDirectSpan = 8;
// Columns are combined two results at a time ((M + 1) / 2 vector loads a result), which
// stays below van Herk's three row operations and copies up to this height.
constexpr int32_t kDirectColumns = 15;

// The minimum (maximum) of N neighbours along a row, for each result column, from a row
// of width + N - 1 pixels already padded with the neutral value beyond the input. Small N:
// N shifted loads a vector. Larger: windows of 2, 4, 8, ... pixels by doubling, then two
// overlapping ones of the largest power of two not above N.
class RowSlider {
 public:
  RowSlider(int32_t width, int32_t n, bool erode)
      : width_(width),
        n_(n),
        erode_(erode),
        ping_(static_cast<std::size_t>(width + n)),
        pong_(ping_.size()) {}

  // `ahead`: a row the next call writes (null: none).
  void operator()(const uint8_t* padded, uint8_t* out, const uint8_t* ahead = nullptr) {
    if (n_ <= kDirectSpan) {
      lcMorphRows::combineShifted(padded, n_, out, width_, erode_, ahead);
      return;
    }
    int32_t length = width_ + n_ - 1;
    const uint8_t* current = padded;
    uint8_t* next = ping_.data();
    uint8_t* spare = pong_.data();
    int32_t k = 1;
    for (; 2 * k <= n_; k *= 2) {
      lcMorphRows::combineRows(current, current + k, next, length - k, erode_);
      length -= k;
      current = next;
      std::swap(next, spare);
    }
    lcMorphRows::combineRows(current, current + (n_ - k), out, width_, erode_, ahead);
  }

 private:
  int32_t width_;
  int32_t n_;
  bool erode_;
  std::vector<uint8_t> ping_;
  std::vector<uint8_t> pong_;
};

// The row windows of input rows: row iy (possibly outside the input: all neutral) into out.
class RowWindows {
 public:
  RowWindows(const Band& job, const Reach& at, int32_t width, int32_t n, bool erode)
      : job_(job),
        first_(at.first),
        width_(width),
        n_(n),
        erode_(erode),
        padded_(static_cast<std::size_t>(width + n)),
        slide_(width, n, erode) {}

  void operator()(int32_t iy, uint8_t* out) {
    if (iy < 0 || iy >= job_.in.height) {
      std::fill_n(out, width_, neutralOf(erode_));
      return;
    }
    paddedRow(job_.in[iy], job_.in.width, first_, width_ + n_ - 1, neutralOf(erode_),
              padded_.data());
    slide_(padded_.data(), out);
  }

 private:
  const Band& job_;
  int32_t first_;
  int32_t width_;
  int32_t n_;
  bool erode_;
  std::vector<uint8_t> padded_;
  RowSlider slide_;
};

// Row windows of the band's input rows, made as they are first asked for into a ring of
// `slots` rows: row t of the band (input row band.begin + top + t) lies in slot t mod
// slots until row t + slots is asked for.
class RowRing {
 public:
  RowRing(const Band& job, const lcMorphElement& element, bool erode, int32_t slots)
      : at_(job, element),
        windows_(job, at_, job.out.width, element.width, erode),
        begin_(job.band.begin),
        width_(static_cast<std::size_t>(job.out.width)),
        slots_(slots),
        rows_(width_ * static_cast<std::size_t>(slots)) {}

  const uint8_t* operator[](int32_t t) {
    for (; made_ <= t; ++made_)
      windows_(begin_ + at_.top + made_, slot(made_));
    return slot(t);
  }

 private:
  uint8_t* slot(int32_t t) { return rows_.data() + static_cast<std::size_t>(t % slots_) * width_; }

  Reach at_;
  RowWindows windows_;
  int32_t begin_;
  std::size_t width_;
  int32_t slots_;
  std::vector<uint8_t> rows_;
  int32_t made_ = 0;
};

// A flat rectangle of few rows: down the columns first, straight from the input rows,
// two results at a time sharing the M - 1 rows between them; then along each combined row,
// whose columns beyond the input hold the neutral value once and for all.
void directFlatBand(const Band& job, const lcMorphElement& element, bool erode) {
  const Reach at(job, element);
  const int32_t width = job.out.width, n = element.width, m = element.height;
  const int32_t length = width + n - 1;
  // Combined columns [inBegin, inEnd) lie on the input; the others stay neutral.
  const int32_t inBegin = std::clamp(-at.first, 0, length);
  const int32_t inEnd = std::clamp(job.in.width - at.first, inBegin, length);
  const std::vector<uint8_t> outside(static_cast<std::size_t>(inEnd - inBegin), neutralOf(erode));
  // The combined rows are stored while input rows are loaded: kept clear of 4K aliasing.
  std::vector<uint8_t> combined(2 * static_cast<std::size_t>(length) + kAliasingSlack,
                                neutralOf(erode));
  uint8_t* const upper = combined.data() + lcAliasingOffset(combined.data(), job.in[0]);
  uint8_t* const lower = upper + length;
  RowSlider slide(width, n, erode);
  std::vector<const uint8_t*> column(static_cast<std::size_t>(m + 1));
  const auto inputRow = [&](int32_t iy) {
    return iy >= 0 && iy < job.in.height ? job.in[iy] + at.first + inBegin : nullptr;
  };
  const auto outputRow = [&](int32_t y) { return y < job.band.end ? job.out[y] : nullptr; };
  for (int32_t y = job.band.begin; y < job.band.end;) {
    const bool pair = y + 1 < job.band.end && m > 1;
    for (int32_t r = 0; r < m + (pair ? 1 : 0); ++r) {
      const uint8_t* row = inputRow(y + at.top + r);
      column[static_cast<std::size_t>(r)] = row != nullptr ? row : outside.data();
    }
    if (pair) {
      // The next pair's two new input rows and its output rows are fetched meanwhile.
      const int32_t next = y + at.top + m + 1;
      lcMorphRows::combineManyTwice(column.data(), m, upper + inBegin, lower + inBegin,
                                    inEnd - inBegin, erode, inputRow(next), inputRow(next + 1));
      slide(upper, job.out[y], outputRow(y + 2));
      slide(lower, job.out[y + 1], outputRow(y + 3));
    } else {
      lcMorphRows::combineMany(column.data(), m, upper + inBegin, inEnd - inBegin, erode);
      slide(upper, job.out[y]);
    }
    y += pair ? 2 : 1;
  }
}

// A flat rectangle, separably. Above a few rows, the row windows of the input rows, then the
// column windows over them by van Herk / Gil-Werman: rows cut into blocks of M, a suffix and a
// prefix run per block, so each result takes three row operations whatever M is.
void flatBand(const Band& job, const lcMorphElement& element, bool erode) {
  const int32_t width = job.out.width, m = element.height;
  if (m <= kDirectColumns) return directFlatBand(job, element, erode);
  const int32_t results = job.band.rows();
  // A block reads rows block to block + 2 M - 2.
  RowRing rows(job, element, erode, 2 * m);
  const std::size_t w = static_cast<std::size_t>(width);
  std::vector<uint8_t> suffix(w * static_cast<std::size_t>(m));
  std::vector<uint8_t> prefix(suffix.size());
  const auto suffixAt = [&](int32_t i) { return suffix.data() + static_cast<std::size_t>(i) * w; };
  const auto prefixAt = [&](int32_t i) { return prefix.data() + static_cast<std::size_t>(i) * w; };
  for (int32_t block = 0; block < results; block += m) {
    // suffix[i]: rows block + i to block + m - 1; prefix[q]: rows block + m to block + m + q.
    std::memcpy(suffixAt(m - 1), rows[block + m - 1], w);
    for (int32_t i = m - 2; i >= 0; --i)
      lcMorphRows::combineRows(rows[block + i], suffixAt(i + 1), suffixAt(i), width, erode);
    const int32_t starts = std::min(m, results - block);
    if (starts > 1) std::memcpy(prefixAt(0), rows[block + m], w);
    for (int32_t q = 1; q + 1 < starts; ++q)
      lcMorphRows::combineRows(prefixAt(q - 1), rows[block + m + q], prefixAt(q), width, erode);
    std::memcpy(job.out[job.band.begin + block], suffixAt(0), w);
    for (int32_t i = 1; i < starts; ++i)
      lcMorphRows::combineRows(suffixAt(i), prefixAt(i - 1), job.out[job.band.begin + block + i],
                               width, erode);
  }
}

}  // namespace

bool lcMorphElement::isFlatRectangle() const {
  return std::all_of(care.begin(), care.end(), [](uint8_t c) { return c != 0; }) &&
         std::all_of(offsets.begin(), offsets.end(), [](int16_t o) { return o == 0; });
}

void lcCheckMorphElement(const lcMorphElement& element) {
  const auto cells =
      static_cast<std::size_t>(element.width) * static_cast<std::size_t>(element.height);
  if (element.width < 1 || element.height < 1 || element.width % 2 == 0 ||
      element.height % 2 == 0 || element.care.size() != cells || element.offsets.size() != cells)
    throw lcGMorphDefs::BadElement();
  for (int16_t offset : element.offsets)
    if (offset < -255 || offset > 255) throw lcGMorphDefs::BadElement();
}

void lcMorphologyPass(const lcPelBuffer<uint8_t>& src, lcPelBuffer<uint8_t>& dst,
                      const lcMorphElement& element, bool erode, lcMorphBorder border,
                      const lcPelBuffer<uint8_t>* take) {
  lcCheckMorphElement(element);
  if (!src.isBound()) throw lcGMorphDefs::BadImage();
  const int32_t hx = element.width / 2, hy = element.height / 2;
  lcPelRect outRect = src.bufferRect();
  if (border == lcMorphBorder::Fit) {
    if (src.width() < element.width || src.height() < element.height)
      throw lcGMorphDefs::BadImage();
    outRect = {outRect.x0 + hx, outRect.y0 + hy, outRect.x1 - hx, outRect.y1 - hy};
  }
  const lcPelRows<const uint8_t> takeRows =
      take != nullptr ? take->rows() : lcPelRows<const uint8_t>{};
  const lcPelRows<const uint8_t>* takes = take != nullptr ? &takeRows : nullptr;
  const bool flat = take == nullptr && element.isFlatRectangle();
  // A flat band recomputes M - 1 row windows above its own rows; a weighted one does N M
  // vector passes per row, so either holds enough work in a band of 256K results.
  const lcBandRule bands{1 << 18, flat ? element.height - 1 : 0};
  lcForEachBand(src, dst, outRect, bands, [&](const Band& job) {
    lcRunKernel(
        flat ? "cip_morphology_col" : "cip_morphology_weighted",
        [&] {
          if (flat)
            flatBand(job, element, erode);
          else
            weightedBand(job, element, erode, takes);
          return int32_t{0};
        },
        [&] {
          portableBand(job, element, erode, takes);
          return int32_t{0};
        });
  });
}
