#pragma once
// What every pixel buffer has, whatever its pixels: the root it views, the window it
// views (in root pixels), the buffer coordinates of the window's first pixel (the
// offset) and the transform from the source image's selected space to buffer
// coordinates. Buffer pixel (x, y) is root pixel (x0 + x - ox, y0 + y - oy); windowing
// never moves a pixel's buffer coordinates, and never changes the transform.
//
// A frame is a value owned by one thread at a time; only its root is shared. Every
// operation that fails leaves the frame as it was.

#include <cstdint>
#include <utility>

#include "std/export.h"
#include "std/math/xform_cache.h"
#include "std/pelbuf/pel_rect.h"
#include "std/pelbuf/pel_root.h"

class lcArchive;

class LC_VISIBLE lcPelFrame {
 public:
  bool isBound() const { return static_cast<bool>(root_); }
  // Drops the root; the window becomes the empty window at (0, 0).
  void unbind();

  // The window in root pixels.
  const lcPelRect& window() const { return window_; }
  int32_t width() const { return window_.width(); }
  int32_t height() const { return window_.height(); }
  bool isEmpty() const { return window_.isEmpty(); }

  int32_t offsetX() const { return offsetX_; }
  int32_t offsetY() const { return offsetY_; }
  // lcPel::BadWindow when the window's far corner would leave the 32-bit range.
  void setOffset(int32_t x, int32_t y);
  // The window in buffer coordinates.
  lcPelRect bufferRect() const;

  const lc2XformCache& xform() const { return xform_; }
  void setXform(lc2XformCache xform) { xform_ = std::move(xform); }
  // The transform's linear value; lcPel::NonlinearXform when it is not linear.
  const lc2XformLinear& linearXform() const { return xform_.linear(); }

  // Views the part of the window that starts x columns and y rows into it and is
  // width x height pixels; the offset grows by (x, y). lcPel::BadWindow unless the frame
  // is bound and the part lies within the window (an empty part on its edge does).
  void setWindow(int32_t x, int32_t y, int32_t width, int32_t height);
  // Views the given rectangle of root pixels; the offset moves as the window's first
  // corner does. A rectangle reaching outside the root throws lcPel::BadWindow, or with
  // `clip` is cut to the root (the empty window at (0, 0) when nothing remains). Returns
  // whether it was cut. lcPel::UnboundWindow when unbound; lcPel::BadWindow for a
  // negative size.
  bool setRootWindow(int32_t x, int32_t y, int32_t width, int32_t height, bool clip);
  // Views `rect`, given in buffer coordinates; lcPel::BadWindow unless it lies within
  // the window.
  void setBufferWindow(const lcPelRect& rect);
  // False for an unbound frame.
  bool isWindowInsideRoot() const;

  // Takes the window, offset and transform of `other`, whose root has the same size as
  // this frame's (lcPel::BadWindow otherwise, lcPel::UnboundWindow when either is
  // unbound).
  void takeViewOf(const lcPelFrame& other);

  // True when both frames view the same root.
  bool sharesRootWith(const lcPelFrame& other) const { return isBound() && root_ == other.root_; }
  // Where the root's pixels lie in memory (no plane when unbound).
  lcPelMemoryPlanes rootMemory() const { return isBound() ? root_->memory() : lcPelMemoryPlanes{}; }

 protected:
  lcPelFrame() = default;
  lcPelFrame(const lcPelFrame&) = default;
  lcPelFrame(lcPelFrame&&) = default;
  lcPelFrame& operator=(const lcPelFrame&) = default;
  lcPelFrame& operator=(lcPelFrame&&) = default;
  ~lcPelFrame() = default;

  const lcPtrHandle<lcPelRootBase>& rootBase() const { return root_; }
  // Views all of `root` (unbound for an empty handle), keeping buffer coordinates.
  void bindRoot(lcPtrHandle<lcPelRootBase> root);
  // Views all of the root that makeRoot() gives at the given offset. An empty size
  // unbinds instead (no root is empty in one direction only), still setting the offset.
  template <class MakeRoot>
  void allocateWith(int32_t width, int32_t height, int32_t offsetX, int32_t offsetY,
                    MakeRoot&& makeRoot) {
    if (width <= 0 || height <= 0) {
      unbind();
      setOffset(offsetX, offsetY);  // cannot fail for an empty window
      return;
    }
    viewNewRoot(makeRoot(), offsetX, offsetY);
  }
  void viewNewRoot(lcPtrHandle<lcPelRootBase> root, int32_t offsetX, int32_t offsetY);

  // The window row and column of a pixel given in buffer coordinates: y - oy and x - ox.
  // lcPel::UnboundWindow when unbound; lcPel::BadCoord when the pixel lies outside the
  // window (naming column 0 for a row).
  int32_t windowRow(int32_t y) const;
  int32_t windowColumn(int32_t x, int32_t y) const;

  // Version, window, offset, transform, then the root through its handle. Loading
  // writes straight into this frame (load into a fresh one) and throws
  // lcArchive::BadContent unless the window lies in the root, or is empty at (0, 0)
  // without one; the caller checks the root's class.
  void archiveFrame(lcArchive& archive);

 private:
  lcPtrHandle<lcPelRootBase> root_;
  lcPelRect window_;
  int32_t offsetX_ = 0;
  int32_t offsetY_ = 0;
  lc2XformCache xform_;
};

// Throws lcPelFunc::Overlap when the windows of `source` and `destination` share bytes of
// memory but do not cover the same pixels in the same way, whatever roots they view
// the memory through (an image wrapped twice, an output made over an input's memory):
// a kernel could read pixels it has already written. The same pixels (working in place)
// and disjoint memory pass.
LC_CORE_API void lcCheckOverlap(const lcPelFrame& source, const lcPelFrame& destination);

// Cuts both frames to the pixels they share in buffer coordinates. lcPel::UnboundWindow
// when either is unbound; lcPel::DisjointWindows, leaving both as they were, when they
// share none.
LC_CORE_API void lcIntersectWindows(lcPelFrame& a, lcPelFrame& b);
