#include "std/shapes/gen_poly.h"

#include <algorithm>
#include <climits>

#include "std/archive/archive.h"
#include "std/archive/archive_registry.h"
#include "std/shapes/boundary.h"
#include "std/shapes/shape_values.h"

namespace {
constexpr uint32_t kVersion = 1;
[[maybe_unused]] const bool registered = lcRegisterArchivable<lcGenPoly>("lcGenPoly");

// The edge from vertex i to vertex i - 1 as the crossing test walks it.
struct Edge {
  lc2Vector a, b;
  // Whether the edge crosses the line at y: one end above y, the other at or below.
  bool crosses(double y) const { return (a.y > y) != (b.y > y); }
  // Where it crosses. Every caller uses this one expression, so contains() and the
  // pixels agree to the bit.
  double x(double y) const { return a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y); }
};

template <class F>
void forEdges(const std::vector<lc2Vector>& v, F&& f) {
  const size_t n = v.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++)
    f(Edge{v[i], v[j]});
}

// An edge of the table: the rows whose centres it crosses, first to last.
struct TableEdge {
  Edge edge;
  int64_t first = 0, last = 0;
};

struct Active {
  const TableEdge* entry;
  double x;
};
}  // namespace

lcGenPoly::lcGenPoly(std::vector<lc2Vector> vertices)
    : vertices_(std::move(vertices)), extent_(lcExtentOf(vertices_)) {}

bool lcGenPoly::isNonDegenerate() const {
  return vertices_.size() >= 3 && extent_.left < extent_.right && extent_.top < extent_.bottom;
}

bool lcGenPoly::isRightHanded() const {
  double twiceArea = 0.0;
  forEdges(vertices_, [&](const Edge& e) { twiceArea += e.b.x * e.a.y - e.a.x * e.b.y; });
  return twiceArea >= 0.0;
}

lcRect lcGenPoly::boundingBox() const {
  return lcRect(extent_.left, extent_.top, extent_.right - extent_.left,
                extent_.bottom - extent_.top);
}

bool lcGenPoly::contains(const lc2Vector& point) const {
  if (vertices_.size() < 3) return false;
  if (!(extent_.top <= point.y && point.y < extent_.bottom)) return false;
  if (!(extent_.left <= point.x && point.x < extent_.right)) return false;
  bool inside = false;
  forEdges(vertices_, [&](const Edge& e) {
    if (e.crosses(point.y)) inside ^= e.x(point.y) <= point.x;
  });
  return inside;
}

lcPelRect lcGenPoly::pixelWindow() const {
  return lcPixelAlignedExtent(extent_, false);
}

void lcGenPoly::appendSpans(const std::vector<double>& crossings, int32_t x0, int32_t x1,
                            std::vector<lcPixelSpan>& spans) const {
  // Inside between crossings 2k and 2k + 1: an odd count lies at or left of the point.
  for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
    const double lo = std::max(crossings[k], extent_.left);
    const double hi = std::min(crossings[k + 1], extent_.right);
    if (lo < hi)
      lcAppendPixelSpan(lcFirstColumnFrom(lo), lcLastColumnTo(hi, false) + 1, x0, x1, spans);
  }
}

void lcGenPoly::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                           std::vector<lcPixelSpan>& spans) const {
  struct Append final : lcPixelRowSink {
    std::vector<lcPixelSpan>& out;
    explicit Append(std::vector<lcPixelSpan>& o) : out(o) {}
    void row(int32_t, const std::vector<lcPixelSpan>& s) override {
      out.insert(out.end(), s.begin(), s.end());
    }
  } append(spans);
  if (row < INT32_MAX) pixelRows(row, row + 1, x0, x1, append);
}

void lcGenPoly::pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                          lcPixelRowSink& sink) const {
  std::vector<TableEdge> table;
  if (vertices_.size() >= 3) {
    forEdges(vertices_, [&](const Edge& e) {
      const double lo = std::min(e.a.y, e.b.y), hi = std::max(e.a.y, e.b.y);
      if (!(lo < hi)) return;  // level, or NaN: it crosses no row
      // The rows whose centres lie in [lo, hi), within the rows asked for.
      const int64_t first = std::max<int64_t>(lcFirstColumnFrom(lo), y0);
      const int64_t last = std::min<int64_t>(lcLastColumnTo(hi, false), int64_t{y1} - 1);
      if (first <= last) table.push_back({e, first, last});
    });
  }
  std::sort(table.begin(), table.end(),
            [](const TableEdge& l, const TableEdge& r) { return l.first < r.first; });
  std::vector<Active> active;
  std::vector<double> crossings;
  std::vector<lcPixelSpan> spans;
  size_t next = 0;
  for (int32_t row = y0; row < y1; ++row) {
    const double y = lcPixelCentre(row);
    // Edges ending above this row leave; edges starting on it join.
    std::erase_if(active, [&](const Active& a) { return a.entry->last < row; });
    for (; next < table.size() && table[next].first <= row; ++next)
      active.push_back({&table[next], 0.0});
    // New crossings, then an insertion sort: the order changes little from row to row.
    for (Active& a : active)
      a.x = a.entry->edge.x(y);
    for (size_t i = 1; i < active.size(); ++i)
      for (size_t j = i; j > 0 && active[j].x < active[j - 1].x; --j)
        std::swap(active[j], active[j - 1]);
    crossings.clear();
    for (const Active& a : active)
      crossings.push_back(a.x);
    spans.clear();
    if (extent_.top <= y && y < extent_.bottom) appendSpans(crossings, x0, x1, spans);
    sink.row(row, spans);
  }
}

lcShapeHandle lcGenPoly::map(const lc2XformLinear& xform) const {
  return lcMakeHandle<lcGenPoly>(lcMapVertices(xform, vertices_));
}

lcShapeHandle lcGenPoly::reversed() const {
  return lcMakeHandle<lcGenPoly>(lcReversedVertices(vertices_));
}

lcBoundary lcGenPoly::boundary() const {
  return lcVertexBoundary(vertices_, true);
}

void lcGenPoly::archive(lcArchive& archive) {
  archive.transferVersion(kVersion, "genpoly", __LINE__);
  lcShape::archive(archive);
  std::vector<lc2Vector> vertices = vertices_;
  lcTransferVertices(archive, vertices);
  if (archive.isLoading()) *this = lcGenPoly(std::move(vertices));
}
