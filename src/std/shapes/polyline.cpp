#include "std/shapes/polyline.h"

#include <algorithm>

#include "std/archive/archive_registry.h"
#include "std/shapes/boundary.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcPolyline>("lcPolyline") &&
                                         lcRegisterArchivable<lcLineSegSet>("lcLineSegSet");

lcRect boxOf(const std::vector<lc2Vector>& points) {
  const lcExtent e = lcExtentOf(points);
  return lcRect(e.left, e.top, e.right - e.left, e.bottom - e.top);
}
}  // namespace

bool lcPolyline::isNonDegenerate() const {
  return std::any_of(vertices_.begin(), vertices_.end(),
                     [&](const lc2Vector& v) { return !(v == vertices_.front()); });
}

lcRect lcPolyline::boundingBox() const {
  return boxOf(vertices_);
}

lcShapeHandle lcPolyline::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcPolyline>(lcMapVertices(xform, vertices_));
}

lcShapeHandle lcPolyline::reversed() const {
  return lcMakeHandle<lcPolyline>(lcReversedVertices(vertices_));
}

lcBoundary lcPolyline::boundary() const {
  return lcVertexBoundary(vertices_, false);
}

void lcPolyline::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "polyline", __LINE__);
  lcShape::archive(archive);
  lcTransferVertices(archive, vertices_);
}

lcLineSegSet::lcLineSegSet(Segments segments) : segments_(std::move(segments)) {
  if (std::any_of(segments_.begin(), segments_.end(), [](const auto& s) { return !s; }))
    throw lcShapesError::BadParams(L"a set of segments holds no empty handle");
}

bool lcLineSegSet::isNonDegenerate() const {
  return std::any_of(segments_.begin(), segments_.end(),
                     [](const auto& s) { return s->isNonDegenerate(); });
}

lcRect lcLineSegSet::boundingBox() const {
  std::vector<lc2Vector> ends;
  for (const auto& s : segments_)
    ends.insert(ends.end(), {s->start(), s->end()});
  return boxOf(ends);
}

lcShapeHandle lcLineSegSet::map(const lc2XformLinear& xform) const {
  Segments mapped;
  for (const auto& s : segments_)
    mapped.push_back(lcMakeHandle<lcLineSeg>(xform.mapPoint(s->start()), xform.mapPoint(s->end())));
  return lcMakeHandle<lcLineSegSet>(std::move(mapped));
}

lcShapeHandle lcLineSegSet::reversed() const {
  Segments turned;
  for (auto s = segments_.rbegin(); s != segments_.rend(); ++s)
    turned.push_back(lcMakeHandle<lcLineSeg>((*s)->end(), (*s)->start()));
  return lcMakeHandle<lcLineSegSet>(std::move(turned));
}

bool lcLineSegSet::isEqual(const lcShape& other) const {
  const auto* same = dynamic_cast<const lcLineSegSet*>(&other);
  return same &&
         std::equal(segments_.begin(), segments_.end(), same->segments_.begin(),
                    same->segments_.end(), [](const auto& l, const auto& r) { return *l == *r; });
}

lcBoundary lcLineSegSet::boundary() const {
  lcBoundary b;
  for (const auto& s : segments_)
    b.contours.push_back(lcPolygonContour({s->start(), s->end()}, false));
  return b;
}

void lcLineSegSet::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "linesegset", __LINE__);
  lcShape::archive(archive);
  Segments segments = segments_;
  archive.transfer(segments);
  if (archive.isLoading()) *this = lcLineSegSet(std::move(segments));
}
