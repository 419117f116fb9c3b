#pragma once
// Archiving and mapping helpers the shape classes share.

#include <array>
#include <string_view>
#include <vector>

#include "std/archive/archive.h"
#include "std/shapes/shape.h"
#include "std/shapes/span_shape.h"

// Archives the version and source of a shape, the (empty) base part, then `values` in
// order. Loading reads into `values` only, so a failed load leaves the shape as it was.
template <size_t N>
void lcArchiveShapeValues(lcShape& shape, lcArchive& archive, uint32_t version,
                          std::string_view source, std::array<double, N>& values) {
  archive.transferVersion(version, source, __LINE__);
  shape.lcShape::archive(archive);
  for (double& value : values)
    archive.transfer(value);
}

// A vertex count, then each vertex (x, y); the count is checked against the bytes left
// before anything is allocated.
LC_CORE_API void lcTransferVertices(lcArchive& archive, std::vector<lc2Vector>& vertices);
LC_CORE_API std::vector<lc2Vector> lcMapVertices(const lc2XformLinear& xform,
                                                 const std::vector<lc2Vector>& vertices);
inline std::vector<lc2Vector> lcReversedVertices(const std::vector<lc2Vector>& vertices) {
  return {vertices.rbegin(), vertices.rend()};
}
// The extent of the vertices; all zero for none.
LC_CORE_API lcExtent lcExtentOf(const std::vector<lc2Vector>& vertices);
// U with its two columns swapped: the same parallelogram run the other way.
inline lc2XformLinear lcSwapSides(const lc2XformLinear& u) {
  return u * lc2XformLinear(lc2Matrix(0, 1, 1, 0), {});
}
// E with its second column negated: the same ellipse run the other way.
inline lc2XformLinear lcFlipEllipse(const lc2XformLinear& e) {
  return e * lc2XformLinear(lc2Matrix(1, 0, 0, -1), {});
}
