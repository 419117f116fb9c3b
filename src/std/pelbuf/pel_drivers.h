#pragma once
// Drivers of pixel functions: they find the pixels a kernel works on, allocate its
// destination when the caller left it unbound, and walk the rows from the top down,
// handing the kernel's row function the start of each row and the row's width. The row
// function is a template parameter, so its loop is compiled into the driver's and can
// be vectorised; nothing is called through a pointer per pixel.
//
//   // dst = src + 1, wrapping
//   lcMapPels(src, dst, [](uint8_t v) { return uint8_t(v + 1); });

#include <cstdint>
#include <utility>

#include "std/pelbuf/pel_buffer.h"
#include "std/pelbuf/pel_errors.h"

namespace lcPelDriverDetail {

// The destination view of `rect` (buffer coordinates): a new buffer of rect's size at
// rect's offset with `like`'s transform when `dst` is unbound, otherwise `dst` cut to
// `rect` (lcPel::BadWindow unless it covers rect). Checked against each source for
// partial overlap.
template <class D, class... Sources>
lcPelBuffer<D> targetFor(lcPelBuffer<D>& dst, const lcPelRect& rect, const lcPelFrame& like,
                         const Sources&... sources) {
  if (!dst.isBound()) {
    dst.allocate(rect.width(), rect.height(), rect.x0, rect.y0);
    dst.setXform(like.xform());
  }
  lcPelBuffer<D> target = dst;
  target.setBufferWindow(rect);
  (lcCheckOverlap(sources, target), ...);
  return target;
}

}  // namespace lcPelDriverDetail

// Calls rowFunction(const S* srcRow, D* dstRow, int32_t width) for every row of src's
// window, top down. An unbound dst is first allocated like src (its window's size, its
// offset and its transform); a bound one must cover src's window in buffer coordinates
// (lcPel::BadWindow) and is written there. lcPel::UnboundWindow for an unbound src; an
// empty src window does nothing. lcPelFunc::Overlap when dst shares src's root and
// overlaps it only in part.
template <class S, class D, class RowFunction>
void lcForEachRow(const lcPelBuffer<S>& src, lcPelBuffer<D>& dst, RowFunction&& rowFunction) {
  if (!src.isBound()) throw lcPel::UnboundWindow();
  if (src.isEmpty()) return;
  lcPelBuffer<D> target = lcPelDriverDetail::targetFor(dst, src.bufferRect(), src, src);
  const lcPelRows<const S> in = src.rows();
  const lcPelRows<D> out = target.rows();
  for (int32_t row = 0; row < in.height; ++row)
    rowFunction(in[row], out[row], in.width);
}

// As above over the pixels that a and b share in buffer coordinates, calling
// rowFunction(const A* aRow, const B* bRow, D* dstRow, int32_t width). An unbound dst
// takes a's transform. Sources that share no pixel do nothing and leave an unbound dst
// unbound.
template <class A, class B, class D, class RowFunction>
void lcForEachRow(const lcPelBuffer<A>& a, const lcPelBuffer<B>& b, lcPelBuffer<D>& dst,
                  RowFunction&& rowFunction) {
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
  for (int32_t row = 0; row < out.height; ++row)
    rowFunction(inA[row], inB[row], out[row], out.width);
}

// dst = pelFunction(src), pixel by pixel, through the unary driver.
template <class S, class D, class PelFunction>
void lcMapPels(const lcPelBuffer<S>& src, lcPelBuffer<D>& dst, PelFunction&& pelFunction) {
  lcForEachRow(src, dst, [&](const S* in, D* out, int32_t width) {
    for (int32_t x = 0; x < width; ++x)
      out[x] = pelFunction(in[x]);
  });
}

// dst = pelFunction(a, b), pixel by pixel, through the binary driver.
template <class A, class B, class D, class PelFunction>
void lcMapPels(const lcPelBuffer<A>& a, const lcPelBuffer<B>& b, lcPelBuffer<D>& dst,
               PelFunction&& pelFunction) {
  lcForEachRow(a, b, dst, [&](const A* inA, const B* inB, D* out, int32_t width) {
    for (int32_t x = 0; x < width; ++x)
      out[x] = pelFunction(inA[x], inB[x]);
  });
}
