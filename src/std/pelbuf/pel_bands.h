#pragma once
// Banded drivers: they cut a kernel's output rows into bands (lcKernelBands) and run
// the bands on the worker pool (lcRunBands), so that kernels never repeat the band
// arithmetic. A kernel's result must not depend on where the bands are cut: every
// output pixel is computed from the source alone, never from another band's output.
//
//   // dst = src + 1, wrapping, in bands above 64K pixels
//   lcForEachRowInBands(src, dst, lcBandRule{}, [](const uint8_t* in, uint8_t* out, int32_t n) {
//     for (int32_t x = 0; x < n; ++x) out[x] = uint8_t(in[x] + 1);
//   });

#include <cstdint>
#include <utility>

#include "std/pelbuf/pel_drivers.h"
#include "std/util/row_bands.h"
#include "std/util/worker_pool.h"

// As lcForEachRow (same destination rules), with the rows cut into bands by `rule` and
// run on the worker pool: bandFunction(const lcPelRows<const S>& in, const lcPelRows<D>&
// out) gets the rows of one band of src and dst (row 0 the band's first), from several
// threads at once.
template <class S, class D, class BandFunction>
void lcForEachRowBand(const lcPelBuffer<S>& src, lcPelBuffer<D>& dst, const lcBandRule& rule,
                      BandFunction&& bandFunction) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  if (src.isEmpty()) return;
  lcPelBuffer<D> target = lcPelDriverDetail::targetFor(dst, src.bufferRect(), src, src);
  const lcPelRows<const S> in = src.rows();
  const lcPelRows<D> out = target.rows();
  const auto bands = lcKernelBands(in.height, in.width, rule, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    const lcPelRows<const S> bandIn{in[band.begin], in.pitch, in.width, band.rows()};
    const lcPelRows<D> bandOut{out[band.begin], out.pitch, out.width, band.rows()};
    bandFunction(bandIn, bandOut);
  });
}

// The same, calling rowFunction(const S* in, D* out, int32_t width) for each row of each
// band, top down within a band.
template <class S, class D, class RowFunction>
void lcForEachRowInBands(const lcPelBuffer<S>& src, lcPelBuffer<D>& dst, const lcBandRule& rule,
                         RowFunction&& rowFunction) {
  lcForEachRowBand(src, dst, rule, [&](const lcPelRows<const S>& in, const lcPelRows<D>& out) {
    for (int32_t row = 0; row < in.height; ++row)
      rowFunction(in[row], out[row], in.width);
  });
}

// The binary form: bandFunction(const lcPelRows<const A>& inA, const lcPelRows<const B>&
// inB, const lcPelRows<D>& out) over the pixels a and b share in buffer coordinates, as
// the binary lcForEachRow places them (an unbound dst takes a's transform). Sources that
// share no pixel do nothing and leave an unbound dst unbound.
template <class A, class B, class D, class BandFunction>
void lcForEachRowBand(const lcPelBuffer<A>& a, const lcPelBuffer<B>& b, lcPelBuffer<D>& dst,
                      const lcBandRule& rule, BandFunction&& bandFunction) {
  if (!a.isBound() || !b.isBound()) throw lcPel::UnboundWindow();
  const lcPelRect common = lcIntersect(a.bufferRect(), b.bufferRect());
  if (common.isEmpty()) return;
  lcPelBuffer<A> aPart = a;
  lcPelBuffer<B> bPart = b;
  aPart.setBufferWindow(common);
  bPart.setBufferWindow(common);
  lcPelBuffer<D> target = lcPelDriverDetail::targetFor(dst, common, a, aPart, bPart);
  const lcPelRows<const A> inA = std::as_const(aPart).rows();
  const lcPelRows<const B> inB = std::as_const(bPart).rows();
  const lcPelRows<D> out = target.rows();
  const auto bands = lcKernelBands(out.height, out.width, rule, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    bandFunction(lcPelRows<const A>{inA[band.begin], inA.pitch, inA.width, band.rows()},
                 lcPelRows<const B>{inB[band.begin], inB.pitch, inB.width, band.rows()},
                 lcPelRows<D>{out[band.begin], out.pitch, out.width, band.rows()});
  });
}

// One band of a neighbourhood kernel: output rows band.begin to band.end of `out`.
// Output pixel (x, y) of `out` sits on pixel (x + dx, y + dy) of `in` (both counted from
// their windows' first pixels); the kernel reads the neighbourhood around it.
template <class S, class D>
struct lcPelBand {
  lcPelRows<const S> in;
  lcPelRows<D> out;
  int32_t dx = 0;
  int32_t dy = 0;
  lcRowBand band;
};

// Runs bandFunction(const lcPelBand<S, D>&) over bands of the output rectangle `outRect`
// (buffer coordinates, within reach of the kernel's neighbourhood of src). An unbound dst
// is allocated at outRect with src's transform; a bound one must cover outRect
// (lcPel::BadWindow) and is written there. A destination that shares any pixel with src
// throws lcPelFunc::Overlap: a neighbourhood kernel cannot work in place. An empty
// outRect does nothing.
template <class S, class D, class BandFunction>
void lcForEachBand(const lcPelBuffer<S>& src, lcPelBuffer<D>& dst, const lcPelRect& outRect,
                   const lcBandRule& rule, BandFunction&& bandFunction) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  if (outRect.isEmpty()) return;
  lcPelBuffer<D> target = lcPelDriverDetail::targetFor(dst, outRect, src);
  if (target.sharesRootWith(src) && !lcIntersect(target.window(), src.window()).isEmpty())
    throw lcPelFunc::Overlap();
  lcPelBand<S, D> job{src.rows(),
                      target.rows(),
                      outRect.x0 - src.bufferRect().x0,
                      outRect.y0 - src.bufferRect().y0,
                      {}};
  const auto bands = lcKernelBands(job.out.height, job.out.width, rule, lcWorkerCount());
  lcRunBands(bands, [&](const lcRowBand& band) {
    lcPelBand<S, D> part = job;
    part.band = band;
    bandFunction(std::as_const(part));
  });
}
