#include "std/shapes/gen_poly.h"

#include <algorithm>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcGenPoly>("lcGenPoly");

lcExtent extentOf(const std::vector<lc2Vector>& vertices) {
  if (vertices.empty()) return {};
  lcExtent e{vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
  for (const lc2Vector& v : vertices) {
    e.left = std::min(e.left, v.x), e.right = std::max(e.right, v.x);
    e.top = std::min(e.top, v.y), e.bottom = std::max(e.bottom, v.y);
  }
  return e;
}
}  // namespace

lcGenPoly::lcGenPoly(std::vector<lc2Vector> vertices)
    : vertices_(std::move(vertices)), extent_(extentOf(vertices_)) {}

bool lcGenPoly::isNonDegenerate() const {
  return vertices_.size() >= 3 && extent_.left < extent_.right && extent_.top < extent_.bottom;
}

lcRect lcGenPoly::boundingBox() const {
  return lcRect(extent_.left, extent_.top, extent_.right - extent_.left,
                extent_.bottom - extent_.top);
}

template <class F>
void lcGenPoly::forCrossings(double y, F&& f) const {
  const size_t n = vertices_.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const lc2Vector& a = vertices_[i];
    const lc2Vector& b = vertices_[j];
    if ((a.y > y) != (b.y > y)) f(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
  }
}

bool lcGenPoly::contains(const lc2Vector& point) const {
  if (vertices_.size() < 3) return false;
  if (!(extent_.top <= point.y && point.y < extent_.bottom)) return false;
  if (!(extent_.left <= point.x && point.x < extent_.right)) return false;
  bool inside = false;
  forCrossings(point.y, [&](double x) { inside ^= x <= point.x; });
  return inside;
}

lcPelRect lcGenPoly::pixelWindow() const {
  return lcPixelAlignedExtent(extent_, false);
}

void lcGenPoly::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                           std::vector<lcPixelSpan>& spans) const {
  const double y = lcPixelCentre(row);
  if (vertices_.size() < 3 || !(extent_.top <= y && y < extent_.bottom)) return;
  thread_local std::vector<double> crossings;
  crossings.clear();
  forCrossings(y, [&](double x) { crossings.push_back(x); });
  std::sort(crossings.begin(), crossings.end());
  // Inside between crossings 2k and 2k + 1: an odd count lies at or left of the point.
  for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
    const double lo = std::max(crossings[k], extent_.left);
    const double hi = std::min(crossings[k + 1], extent_.right);
    if (lo < hi)
      lcAppendPixelSpan(lcFirstColumnFrom(lo), lcLastColumnTo(hi, false) + 1, x0, x1, spans);
  }
}

lcShapeHandle lcGenPoly::map(const lc2XformLinear& xform) const {
  std::vector<lc2Vector> mapped;
  mapped.reserve(vertices_.size());
  for (const lc2Vector& v : vertices_)
    mapped.push_back(xform.mapPoint(v));
  return lcMakeHandle<lcGenPoly>(std::move(mapped));
}

void lcGenPoly::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "genpoly", __LINE__);
  lcShape::archive(archive);
  uint64_t count = vertices_.size();
  archive.transferCount(count, 2 * sizeof(double));
  std::vector<lc2Vector> vertices = archive.isStoring() ? vertices_ : std::vector<lc2Vector>(count);
  for (lc2Vector& v : vertices) {
    archive.transfer(v.x);
    archive.transfer(v.y);
  }
  if (archive.isLoading()) *this = lcGenPoly(std::move(vertices));
}
