#include "std/shapes/shape_values.h"

#include <algorithm>

void lcTransferVertices(lcArchive& archive, std::vector<lc2Vector>& vertices) {
  uint64_t count = vertices.size();
  archive.transferCount(count, 2 * sizeof(double));
  std::vector<lc2Vector> values = archive.isStoring() ? vertices : std::vector<lc2Vector>(count);
  for (lc2Vector& v : values) {
    archive.transfer(v.x);
    archive.transfer(v.y);
  }
  if (archive.isLoading()) vertices = std::move(values);
}

std::vector<lc2Vector> lcMapVertices(const lc2XformLinear& xform,
                                     const std::vector<lc2Vector>& vertices) {
  std::vector<lc2Vector> mapped;
  mapped.reserve(vertices.size());
  for (const lc2Vector& v : vertices)
    mapped.push_back(xform.mapPoint(v));
  return mapped;
}

lcExtent lcExtentOf(const std::vector<lc2Vector>& vertices) {
  if (vertices.empty()) return {};
  lcExtent e{vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
  for (const lc2Vector& v : vertices) {
    e.left = std::min(e.left, v.x), e.right = std::max(e.right, v.x);
    e.top = std::min(e.top, v.y), e.bottom = std::max(e.bottom, v.y);
  }
  return e;
}
