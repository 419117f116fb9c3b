#include "std/pelbuf/pel_frame.h"

#include <algorithm>
#include <limits>
#include <string>

#include "std/archive/archive.h"
#include "std/pelbuf/pel_errors.h"

namespace {

constexpr uint32_t kVersion = 1;

bool fitsInt32(int64_t value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

// The offset that keeps buffer coordinates when the window's first corner moves from
// `from` to `to`.
int32_t movedOffset(int32_t offset, int32_t from, int32_t to, int32_t extent) {
  const int64_t moved = int64_t{offset} + to - from;
  if (!fitsInt32(moved) || !fitsInt32(moved + extent))
    throw lcPel::BadWindow(L"buffer coordinates leave the 32-bit range");
  return static_cast<int32_t>(moved);
}

std::wstring pixelText(int32_t x, int32_t y) {
  return L"pixel (" + std::to_wstring(x) + L", " + std::to_wstring(y) +
         L") lies outside the window";
}

}  // namespace

void lcPelFrame::unbind() {
  root_.reset();
  window_ = {};
}

void lcPelFrame::setOffset(int32_t x, int32_t y) {
  if (!fitsInt32(int64_t{x} + width()) || !fitsInt32(int64_t{y} + height()))
    throw lcPel::BadWindow(L"buffer coordinates leave the 32-bit range");
  offsetX_ = x;
  offsetY_ = y;
}

lcPelRect lcPelFrame::bufferRect() const {
  return {offsetX_, offsetY_, offsetX_ + width(), offsetY_ + height()};
}

void lcPelFrame::setWindow(int32_t x, int32_t y, int32_t width, int32_t height) {
  const bool inside = isBound() && width >= 0 && height >= 0 && x >= 0 && y >= 0 &&
                      int64_t{x} + width <= this->width() && int64_t{y} + height <= this->height();
  if (!inside) throw lcPel::BadWindow(L"the window does not lie within the current one");
  const lcPelRect part{window_.x0 + x, window_.y0 + y, window_.x0 + x + width,
                       window_.y0 + y + height};
  offsetX_ += x;  // cannot overflow: the buffer rectangle stays within the old one
  offsetY_ += y;
  window_ = part;
}

bool lcPelFrame::setRootWindow(int32_t x, int32_t y, int32_t width, int32_t height, bool clip) {
  if (!isBound()) throw lcPel::UnboundWindow();
  if (width < 0 || height < 0) throw lcPel::BadWindow(L"a window cannot have a negative size");
  const int64_t x1 = int64_t{x} + width;
  const int64_t y1 = int64_t{y} + height;
  const bool inside = x >= 0 && y >= 0 && x1 <= root_->width() && y1 <= root_->height();
  if (!inside && !clip) throw lcPel::BadWindow(L"the window reaches outside the root");
  lcPelRect wanted{x, y, static_cast<int32_t>(std::min<int64_t>(x1, root_->width())),
                   static_cast<int32_t>(std::min<int64_t>(y1, root_->height()))};
  if (!inside) wanted = lcIntersect(wanted, {0, 0, root_->width(), root_->height()});
  const int32_t newOffsetX = movedOffset(offsetX_, window_.x0, wanted.x0, wanted.width());
  const int32_t newOffsetY = movedOffset(offsetY_, window_.y0, wanted.y0, wanted.height());
  window_ = wanted;
  offsetX_ = newOffsetX;
  offsetY_ = newOffsetY;
  return !inside;
}

void lcPelFrame::setBufferWindow(const lcPelRect& rect) {
  if (!bufferRect().contains(rect))
    throw lcPel::BadWindow(L"the window does not lie within the current one");
  setWindow(rect.x0 - offsetX_, rect.y0 - offsetY_, rect.width(), rect.height());
}

bool lcPelFrame::isWindowInsideRoot() const {
  return isBound() && lcPelRect{0, 0, root_->width(), root_->height()}.contains(window_);
}

void lcPelFrame::bindRoot(lcPtrHandle<lcPelRootBase> root) {
  if (!root) {
    unbind();
    return;
  }
  const lcPelRect whole{0, 0, root->width(), root->height()};
  const int32_t newOffsetX = movedOffset(offsetX_, window_.x0, 0, whole.width());
  const int32_t newOffsetY = movedOffset(offsetY_, window_.y0, 0, whole.height());
  root_ = std::move(root);
  window_ = whole;
  offsetX_ = newOffsetX;
  offsetY_ = newOffsetY;
}

void lcPelFrame::viewNewRoot(lcPtrHandle<lcPelRootBase> root, int32_t offsetX, int32_t offsetY) {
  lcPelFrame changed = *this;
  changed.root_ = std::move(root);
  changed.window_ = {0, 0, changed.root_->width(), changed.root_->height()};
  changed.setOffset(offsetX, offsetY);
  *this = std::move(changed);
}

void lcPelFrame::takeViewOf(const lcPelFrame& other) {
  if (!isBound() || !other.isBound()) throw lcPel::UnboundWindow();
  if (root_->width() != other.root_->width() || root_->height() != other.root_->height())
    throw lcPel::BadWindow(L"the roots differ in size");
  window_ = other.window_;
  offsetX_ = other.offsetX_;
  offsetY_ = other.offsetY_;
  xform_ = other.xform_;
}

int32_t lcPelFrame::windowRow(int32_t y) const {
  if (!isBound()) throw lcPel::UnboundWindow();
  const int64_t row = int64_t{y} - offsetY_;
  if (row < 0 || row >= height()) throw lcPel::BadCoord(pixelText(0, y));
  return static_cast<int32_t>(row);
}

int32_t lcPelFrame::windowColumn(int32_t x, int32_t y) const {
  if (!isBound()) throw lcPel::UnboundWindow();
  const int64_t column = int64_t{x} - offsetX_;
  if (column < 0 || column >= width()) throw lcPel::BadCoord(pixelText(x, y));
  return static_cast<int32_t>(column);
}

void lcPelFrame::archiveFrame(lcArchive& archive) {
  archive.transferVersion(kVersion, "pelframe", __LINE__);
  for (int32_t* value : {&window_.x0, &window_.y0, &window_.x1, &window_.y1, &offsetX_, &offsetY_})
    archive.transfer(*value);
  lc2XformHandle xform = xform_.xform();
  archive.transfer(xform);
  archive.transfer(root_);
  if (archive.isStoring()) return;
  if (!xform) throw lcArchive::BadContent(L"a pixel buffer without a transform");
  xform_ = lc2XformCache(std::move(xform));
  const bool fits = isBound() ? isWindowInsideRoot() : window_ == lcPelRect{};
  if (!fits || !fitsInt32(int64_t{offsetX_} + width()) || !fitsInt32(int64_t{offsetY_} + height()))
    throw lcArchive::BadContent(L"a pixel buffer's window does not fit its root");
}

namespace {

// The bytes a window covers in one plane: `rows` runs of `length` bytes, `step` apart,
// the first at `first`, each pixel `pelBytes` long.
struct WindowBytes {
  int64_t first = 0;
  int64_t step = 0;
  int64_t length = 0;
  int64_t rows = 0;
  int64_t pelBytes = 0;
  friend bool operator==(const WindowBytes&, const WindowBytes&) = default;
};

WindowBytes bytesOf(const lcPelMemory& plane, const lcPelRect& window) {
  return {plane.first + window.y0 * plane.rowBytes + window.x0 * plane.pelBytes, plane.rowBytes,
          window.width() * plane.pelBytes, window.height(), plane.pelBytes};
}

int64_t floorDiv(int64_t a, int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// Whether a run of bytes [start, end) meets a row of `rows` (whose step is positive).
bool meetsARow(int64_t start, int64_t end, const WindowBytes& rows) {
  // Row k spans [first + k step, first + k step + length): it meets the run when
  // (start - first - length) / step < k < (end - first) / step.
  const int64_t lowest =
      std::max<int64_t>(floorDiv(start - rows.first - rows.length, rows.step) + 1, 0);
  const int64_t highest = std::min(floorDiv(end - rows.first - 1, rows.step), rows.rows - 1);
  return lowest <= highest;
}

bool shareBytes(const WindowBytes& a, const WindowBytes& b) {
  if (a.rows == 0 || b.rows == 0 || a.length == 0 || b.length == 0) return false;
  const int64_t aEnd = a.first + (a.rows - 1) * a.step + a.length;
  const int64_t bEnd = b.first + (b.rows - 1) * b.step + b.length;
  if (aEnd <= b.first || bEnd <= a.first) return false;  // apart, as separate blocks are
  const WindowBytes& fewer = a.rows <= b.rows ? a : b;
  const WindowBytes& more = a.rows <= b.rows ? b : a;
  for (int64_t row = 0; row < fewer.rows; ++row) {
    const int64_t start = fewer.first + row * fewer.step;
    if (meetsARow(start, start + fewer.length, more)) return true;
  }
  return false;
}

}  // namespace

void lcCheckOverlap(const lcPelFrame& source, const lcPelFrame& destination) {
  const lcPelMemoryPlanes from = source.rootMemory(), to = destination.rootMemory();
  for (int i = 0; i < from.count; ++i) {
    for (int j = 0; j < to.count; ++j) {
      const WindowBytes read = bytesOf(from.planes[static_cast<std::size_t>(i)], source.window());
      const WindowBytes written =
          bytesOf(to.planes[static_cast<std::size_t>(j)], destination.window());
      if (read != written && shareBytes(read, written))
        throw lcPelFunc::Overlap(L"source and destination share pixel memory");
    }
  }
}

void lcIntersectWindows(lcPelFrame& a, lcPelFrame& b) {
  if (!a.isBound() || !b.isBound()) throw lcPel::UnboundWindow();
  const lcPelRect common = lcIntersect(a.bufferRect(), b.bufferRect());
  if (common.isEmpty()) throw lcPel::DisjointWindows();
  a.setBufferWindow(common);  // cannot fail: common lies within both
  b.setBufferWindow(common);
}
