// The affine and polar samplers' vector runs for every SIMD target: this file is compiled
// once per target by Highway's foreach_target, and the exported functions pick the best
// one at run time.
//
// A vector holds the 16.16 positions of consecutive samples in 32-bit lanes (exact: a
// window below 32768 pixels each way keeps every position inside it below 2^31). The
// pixels come lane by lane from vector-computed byte offsets: two neighbours are one
// 32-bit word (for bytes the word starts one pixel to the left, so the four pixels of a
// cubic row come in one word, and a bilinear sample's four bytes in two halves). The
// weights and roundings are those of lcAffinePixel's functions, worked in lanes wide
// enough that nothing overflows, so every sample equals the scalar one to the bit.
// Positions are computed with separate multiplies and adds, as the scalar code does
// (the build compiles this file without contraction into fused multiply-adds).

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "ip/affine/affine_rows_fast.cpp"
#include <hwy/foreach_target.h>
#include <hwy/highway.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "ip/affine/affine_rows.h"
#include "ip/affine/affine_sampling.h"

HWY_BEFORE_NAMESPACE();
namespace lcAffineRows {
namespace HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

#if HWY_TARGET == HWY_SCALAR
// One lane is no vector: the callers' scalar code samples everything.
template <class T>
int64_t AffineRun(int32_t, const lcAffineSource<T>&, int64_t, int64_t, int64_t, int64_t, int64_t,
                  T*) {
  return 0;
}
template <class T>
bool PolarRows(bool, const lcAffineSource<T>&, const lcPolarPositions&, const lcPelRows<T>&,
               int32_t, int32_t) {
  return false;
}
#else
using DU = hn::ScalableTag<uint32_t>;
using VU = hn::Vec<DU>;
using DI = hn::ScalableTag<int32_t>;
using VI = hn::Vec<DI>;
using D64 = hn::Repartition<uint64_t, DU>;

// Whether every 16.16 position inside the window, and every byte offset of a pixel pair
// of it, fits in 31 bits.
template <class T>
bool fitsLanes(const lcAffineSource<T>& s) {
  return s.pitch > 0 && s.width < 32768 && s.height < 32768 &&
         (s.height + 1) * int64_t{s.pitch} * int64_t{sizeof(T)} < (int64_t{1} << 30);
}

// The source as 32-bit words at byte offsets.
struct Words {
  const int32_t* base;
  int32_t pitchBytes;
};

template <class T>
Words wordsOf(const lcAffineSource<T>& s) {
  return {reinterpret_cast<const int32_t*>(s.first), static_cast<int32_t>(s.pitch * sizeof(T))};
}

// The byte offset of the word holding pixels x0 and x0 + 1 of row y0 (for bytes, the
// word from x0 - 1 to x0 + 2).
template <class T>
HWY_INLINE VI PairOffset(const Words& w, VU x0, VU y0) {
  const DI di;
  const VI row = hn::BitCast(di, y0) * hn::Set(di, w.pitchBytes);
  if constexpr (sizeof(T) == 1) return row + hn::BitCast(di, x0) - hn::Set(di, 1);
  return row + hn::BitCast(di, hn::ShiftLeft<1>(x0));
}

// Each lane's word at its byte offset. Loading lane by lane beats a hardware gather on
// the processors measured.
HWY_INLINE VU Gather(const Words& w, VI offset) {
  const DU du;
  HWY_ALIGN int32_t at[hn::MaxLanes(DI())];
  HWY_ALIGN uint32_t words[hn::MaxLanes(DU())];
  hn::Store(offset, DI(), at);
  const auto* bytes = reinterpret_cast<const uint8_t*>(w.base);
  for (size_t k = 0; k < hn::Lanes(du); ++k)
    std::memcpy(&words[k], bytes + at[k], sizeof(uint32_t));
  return hn::Load(du, words);
}

// The two pixels x0 and x0 + 1 of a word from PairOffset (pixels in little-endian order).
template <class T>
HWY_INLINE void Split(VU word, VU& left, VU& right) {
  const DU du;
  if constexpr (sizeof(T) == 1) {
    left = hn::And(hn::ShiftRight<8>(word), hn::Set(du, 0xff));
    right = hn::And(hn::ShiftRight<16>(word), hn::Set(du, 0xff));
  } else {
    left = hn::And(word, hn::Set(du, 0xffff));
    right = hn::ShiftRight<16>(word);
  }
}

// The pixels (x0, y0), (x0 + 1, y0), (x0, y0 + 1) and (x0 + 1, y0 + 1) of each lane, from
// the pair offset of (x0, y0). Bytes come as one word per lane: the top pair low, the
// bottom pair high.
template <class T>
HWY_INLINE void Neighbours(const Words& w, VI offset, VU& p00, VU& p10, VU& p01, VU& p11) {
  if constexpr (sizeof(T) == 1) {
    const DU du;
    HWY_ALIGN int32_t at[hn::MaxLanes(DI())];
    HWY_ALIGN uint32_t quads[hn::MaxLanes(DU())];
    hn::Store(offset, DI(), at);
    const auto* bytes = reinterpret_cast<const uint8_t*>(w.base) + 1;
    for (size_t k = 0; k < hn::Lanes(du); ++k) {
      uint16_t top = 0, bottom = 0;
      std::memcpy(&top, bytes + at[k], sizeof top);
      std::memcpy(&bottom, bytes + at[k] + w.pitchBytes, sizeof bottom);
      quads[k] = uint32_t{top} | uint32_t{bottom} << 16;
    }
    const VU quad = hn::Load(du, quads), byte = hn::Set(du, 0xff);
    p00 = hn::And(quad, byte);
    p10 = hn::And(hn::ShiftRight<8>(quad), byte);
    p01 = hn::And(hn::ShiftRight<16>(quad), byte);
    p11 = hn::ShiftRight<24>(quad);
  } else {
    Split<T>(Gather(w, offset), p00, p10);
    Split<T>(Gather(w, offset + hn::Set(DI(), w.pitchBytes)), p01, p11);
  }
}

// lcAffinePixel::bilinear: 15-bit weights, down the columns, then along the row.
template <class T>
HWY_INLINE VU Bilinear(const Words& w, VU x, VU y) {
  const DU du;
  const VU half = hn::Set(du, 32768), low = hn::Set(du, 0xffff);
  x = x - half;
  y = y - half;
  const VU wx = hn::ShiftRight<1>(hn::And(x, low)), wy = hn::ShiftRight<1>(hn::And(y, low));
  const VI offset = PairOffset<T>(w, hn::ShiftRight<16>(x), hn::ShiftRight<16>(y));
  VU p00, p10, p01, p11;
  Neighbours<T>(w, offset, p00, p10, p01, p11);
  // a (32768 - w) + b w as a 32768 + (b - a) w: the same integer, below 2^32, so the
  // wrapping 32-bit sum is exact with one multiply.
  const auto blend = [](VU a, VU b, VU w) {
    return hn::ShiftRight<15>(hn::ShiftLeft<15>(a) + (b - a) * w);
  };
  return blend(blend(p00, p01, wy), blend(p10, p11, wy), wx);
}

// The odd 32-bit lanes moved to the even ones, for MulEven.
HWY_INLINE VU OddLanes(VU v) {
  return hn::BitCast(DU(), hn::ShiftRight<32>(hn::BitCast(D64(), v)));
}

// lcAffinePixel::bilinearAccurate: the weighted sum gy * (gx p00 + fx p10) + fy * (gx p01
// + fx p11) is the same integer as the four-term one; each row fits in 32 bits, the sum
// in 64-bit lanes.
template <class T>
HWY_INLINE VU Accurate(const Words& w, VU x, VU y) {
  const DU du;
  const D64 d64;
  const VU half = hn::Set(du, 32768), low = hn::Set(du, 0xffff), one = hn::Set(du, 65536);
  x = x - half;
  y = y - half;
  const VU fx = hn::And(x, low), fy = hn::And(y, low), gy = one - fy;
  const VI offset = PairOffset<T>(w, hn::ShiftRight<16>(x), hn::ShiftRight<16>(y));
  VU p00, p10, p01, p11;
  Neighbours<T>(w, offset, p00, p10, p01, p11);
  // gx p + fx q as p 65536 + fx (q - p), exact in wrapping 32-bit lanes (below 2^32).
  const VU top = hn::ShiftLeft<16>(p00) + fx * (p10 - p00);
  const VU bottom = hn::ShiftLeft<16>(p01) + fx * (p11 - p01);
  const auto rounding = hn::Set(d64, uint64_t{0x7fffffff});
  const auto even = hn::MulEven(gy, top) + hn::MulEven(fy, bottom) + rounding;
  const auto odd = hn::MulEven(OddLanes(gy), OddLanes(top)) +
                   hn::MulEven(OddLanes(fy), OddLanes(bottom)) + rounding;
  // The odd results are the odd sums' high halves already.
  return hn::OddEven(hn::BitCast(du, odd), hn::BitCast(du, hn::ShiftRight<32>(even)));
}

// C++'s division by 512, toward zero.
HWY_INLINE VI DivideBy512(VI a) {
  return hn::ShiftRight<9>(a + hn::And(hn::ShiftRight<31>(a), hn::Set(DI(), 511)));
}

// lcAffinePixel::cubic for bytes: every partial sum fits in 32 bits. The last division
// rounds down where the scalar one truncates; the two differ only below 0, which both
// clamp to 0.
HWY_INLINE VU Cubic8(const Words& w, VU x, VU y) {
  const DU du;
  const DI di;
  const VU half = hn::Set(du, 32768), low = hn::Set(du, 0xffff);
  x = x - half;
  y = y - half;
  const int32_t* table = lcAffineCubicTable[0].data();
  const VI phaseX = hn::BitCast(di, hn::ShiftLeft<2>(hn::ShiftRight<8>(hn::And(x, low))));
  const VI phaseY = hn::BitCast(di, hn::ShiftLeft<2>(hn::ShiftRight<8>(hn::And(y, low))));
  const VI first =
      PairOffset<uint8_t>(w, hn::ShiftRight<16>(x), hn::ShiftRight<16>(y) - hn::Set(du, 1));
  VI column[4] = {hn::Zero(di), hn::Zero(di), hn::Zero(di), hn::Zero(di)};
  for (int m = 0; m < 4; ++m) {
    const VU word = Gather(w, first + hn::Set(di, m * w.pitchBytes));
    const VI wy = hn::GatherIndex(di, table + m, phaseY);
    for (int k = 0; k < 4; ++k)
      column[k] = column[k] +
                  wy * hn::BitCast(di, hn::And(hn::ShiftRightSame(word, 8 * k), hn::Set(du, 0xff)));
  }
  VI sum = hn::Zero(di);
  for (int k = 0; k < 4; ++k)
    sum = sum + hn::GatherIndex(di, table + k, phaseX) * DivideBy512(column[k] + hn::Set(di, 256));
  const VI value = hn::ShiftRight<21>(sum + hn::Set(di, 1 << 20));
  return hn::BitCast(du, hn::Min(hn::Max(value, hn::Zero(di)), hn::Set(di, 255)));
}

template <class T>
HWY_INLINE void StoreSamples(VU v, T* out) {
  const hn::Rebind<T, DI> dt;
  hn::StoreU(hn::DemoteTo(dt, hn::BitCast(DI(), v)), dt, out);
}

template <class T, class Sample>
int64_t Run(const lcAffineSource<T>& s, int64_t x, int64_t y, int64_t stepX, int64_t stepY,
            int64_t n, T* out, const Sample& sample) {
  const DU du;
  const auto lanes = static_cast<int64_t>(hn::Lanes(du));
  if (!fitsLanes(s) || n < lanes) return 0;
  const Words w = wordsOf(s);
  // Positions wrap as 32-bit values, which is exact since each lies below 2^31.
  const VU iota = hn::Iota(du, 0);
  VU vx = hn::Set(du, uint32_t(x)) + iota * hn::Set(du, uint32_t(stepX));
  VU vy = hn::Set(du, uint32_t(y)) + iota * hn::Set(du, uint32_t(stepY));
  const VU advanceX = hn::Set(du, uint32_t(stepX * lanes));
  const VU advanceY = hn::Set(du, uint32_t(stepY * lanes));
  int64_t done = 0;
  for (; done + lanes <= n; done += lanes, vx = vx + advanceX, vy = vy + advanceY)
    StoreSamples(sample(w, vx, vy), out + done);
  return done;
}

template <class T>
int64_t AffineRun(int32_t mode, const lcAffineSource<T>& s, int64_t x, int64_t y, int64_t stepX,
                  int64_t stepY, int64_t n, T* out) {
  switch (mode) {
    case lcAffineSamplingParams::kBilinear:
      return Run(s, x, y, stepX, stepY, n, out,
                 [](const Words& w, VU vx, VU vy) { return Bilinear<T>(w, vx, vy); });
    case lcAffineSamplingParams::kBilinearAccurate:
      return Run(s, x, y, stepX, stepY, n, out,
                 [](const Words& w, VU vx, VU vy) { return Accurate<T>(w, vx, vy); });
    case lcAffineSamplingParams::kCubic:
      if constexpr (sizeof(T) == 1)
        return Run(s, x, y, stepX, stepY, n, out,
                   [](const Words& w, VU vx, VU vy) { return Cubic8(w, vx, vy); });
      return 0;
    default:
      return 0;
  }
}

// The 16.16 positions of row j, rounded as the portable twin rounds them.
void PolarPositions(const lcPolarPositions& at, int32_t j, int32_t n, int32_t* xs, int32_t* ys) {
  const hn::ScalableTag<double> df;
  const hn::Rebind<int32_t, decltype(df)> dh;
  const auto lanes = static_cast<int32_t>(hn::Lanes(df));
  const double* direction = &at.direction[0].x;
  const double scale = at.scale[static_cast<std::size_t>(j)];
  const auto cx = hn::Set(df, at.centre.x), cy = hn::Set(df, at.centre.y);
  const auto s = hn::Set(df, scale), unit = hn::Set(df, 65536.0), half = hn::Set(df, 0.5);
  int32_t i = 0;
  for (; i + lanes <= n; i += lanes) {
    hn::Vec<decltype(df)> dx, dy;
    hn::LoadInterleaved2(df, direction + 2 * i, dx, dy);
    hn::StoreU(hn::DemoteTo(dh, hn::Add(hn::Mul(hn::Add(cx, hn::Mul(s, dx)), unit), half)), dh,
               xs + i);
    hn::StoreU(hn::DemoteTo(dh, hn::Add(hn::Mul(hn::Add(cy, hn::Mul(s, dy)), unit), half)), dh,
               ys + i);
  }
  for (; i < n; ++i) {
    const lc2Vector& d = at.direction[static_cast<std::size_t>(i)];
    xs[i] = static_cast<int32_t>((at.centre.x + scale * d.x) * 65536.0 + 0.5);
    ys[i] = static_cast<int32_t>((at.centre.y + scale * d.y) * 65536.0 + 0.5);
  }
}

// Asks for the rows' pixels of a row's samples before they are read: the samples of a
// ring lie far apart, so nearly every one misses the caches, and asking for all of them
// at once overlaps the waits.
template <class T>
void PrefetchPixels(const lcAffineSource<T>& s, const int32_t* xs, const int32_t* ys, int32_t n) {
  const int64_t lastX = s.width - 1, lastY = s.height - 1;
  for (int32_t i = 0; i < n; ++i) {
    const int64_t x = std::clamp<int64_t>(xs[i] >> 16, 0, lastX);
    const int64_t y = std::clamp<int64_t>((ys[i] - lcAffinePixel::kHalf) >> 16, 0, lastY);
    const T* top = s.first + y * s.pitch + x;
    __builtin_prefetch(top);
    __builtin_prefetch(top + (y < lastY ? s.pitch : 0));
  }
}

template <class T>
T ScalarSample(bool nearest, const lcAffineSource<T>& s, int64_t x, int64_t y) {
  lcTrustingReader<T> read{s};
  return static_cast<T>(nearest ? lcAffinePixel::nearest(read, x, y)
                                : lcAffinePixel::bilinearAccurate(read, x, y));
}

template <class T>
bool PolarRows(bool nearest, const lcAffineSource<T>& s, const lcPolarPositions& at,
               const lcPelRows<T>& out, int32_t begin, int32_t end) {
  if (!fitsLanes(s)) return false;
  const DU du;
  const auto lanes = static_cast<int32_t>(hn::Lanes(du));
  const int32_t n = out.width;
  // Positions of this row and the next: the next one's pixels are asked for while this
  // one is sampled.
  std::vector<int32_t> positions(4 * static_cast<std::size_t>(n));
  int32_t *xs = positions.data(), *ys = xs + n, *nextXs = ys + n, *nextYs = nextXs + n;
  const Words w = wordsOf(s);
  // A vector is sampled in lanes when every lane's four pixels lie in the window.
  const uint32_t spanX = static_cast<uint32_t>(std::max<int64_t>(0, s.width - 1));
  const uint32_t spanY = static_cast<uint32_t>(std::max<int64_t>(0, s.height - 1));
  PolarPositions(at, begin, n, xs, ys);
  PrefetchPixels(s, xs, ys, n);
  for (int32_t j = begin; j < end; ++j, std::swap(xs, nextXs), std::swap(ys, nextYs)) {
    if (j + 1 < end) {
      PolarPositions(at, j + 1, n, nextXs, nextYs);
      PrefetchPixels(s, nextXs, nextYs, n);
    }
    T* row = out[j];
    int32_t i = 0;
    if (!nearest) {
      for (; i + lanes <= n; i += lanes) {
        const VU x = hn::BitCast(du, hn::LoadU(DI(), xs + i));
        const VU y = hn::BitCast(du, hn::LoadU(DI(), ys + i));
        const VU x0 = hn::ShiftRight<16>(x - hn::Set(du, 32768));
        const VU y0 = hn::ShiftRight<16>(y - hn::Set(du, 32768));
        const auto inside = hn::And(hn::Lt(x0, hn::Set(du, spanX)), hn::Lt(y0, hn::Set(du, spanY)));
        if (hn::AllTrue(du, inside)) {
          StoreSamples(Accurate<T>(w, x, y), row + i);
        } else {
          for (int32_t k = i; k < i + lanes; ++k)
            row[k] = ScalarSample(nearest, s, xs[k], ys[k]);
        }
      }
    }
    for (; i < n; ++i)
      row[i] = ScalarSample(nearest, s, xs[i], ys[i]);
  }
  return true;
}

#endif  // HWY_TARGET == HWY_SCALAR

int64_t AffineRun8(int32_t mode, const lcAffineSource<uint8_t>& s, int64_t x, int64_t y,
                   int64_t stepX, int64_t stepY, int64_t n, uint8_t* out) {
  return AffineRun(mode, s, x, y, stepX, stepY, n, out);
}

int64_t AffineRun16(int32_t mode, const lcAffineSource<uint16_t>& s, int64_t x, int64_t y,
                    int64_t stepX, int64_t stepY, int64_t n, uint16_t* out) {
  return AffineRun(mode, s, x, y, stepX, stepY, n, out);
}

bool PolarRows8(bool nearest, const lcAffineSource<uint8_t>& s, const lcPolarPositions& at,
                const lcPelRows<uint8_t>& out, int32_t begin, int32_t end) {
  return PolarRows(nearest, s, at, out, begin, end);
}

bool PolarRows16(bool nearest, const lcAffineSource<uint16_t>& s, const lcPolarPositions& at,
                 const lcPelRows<uint16_t>& out, int32_t begin, int32_t end) {
  return PolarRows(nearest, s, at, out, begin, end);
}

}  // namespace HWY_NAMESPACE
}  // namespace lcAffineRows
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace lcAffineRows {

HWY_EXPORT(AffineRun8);
HWY_EXPORT(AffineRun16);
HWY_EXPORT(PolarRows8);
HWY_EXPORT(PolarRows16);

int64_t affineRun(int32_t mode, const lcAffineSource<uint8_t>& source, int64_t x, int64_t y,
                  int64_t stepX, int64_t stepY, int64_t n, uint8_t* out) {
  return HWY_DYNAMIC_DISPATCH(AffineRun8)(mode, source, x, y, stepX, stepY, n, out);
}

int64_t affineRun(int32_t mode, const lcAffineSource<uint16_t>& source, int64_t x, int64_t y,
                  int64_t stepX, int64_t stepY, int64_t n, uint16_t* out) {
  return HWY_DYNAMIC_DISPATCH(AffineRun16)(mode, source, x, y, stepX, stepY, n, out);
}

bool polarRows(bool nearest, const lcAffineSource<uint8_t>& source, const lcPolarPositions& at,
               const lcPelRows<uint8_t>& out, int32_t begin, int32_t end) {
  return HWY_DYNAMIC_DISPATCH(PolarRows8)(nearest, source, at, out, begin, end);
}

bool polarRows(bool nearest, const lcAffineSource<uint16_t>& source, const lcPolarPositions& at,
               const lcPelRows<uint16_t>& out, int32_t begin, int32_t end) {
  return HWY_DYNAMIC_DISPATCH(PolarRows16)(nearest, source, at, out, begin, end);
}

}  // namespace lcAffineRows
#endif
