#include "std/shapes/gen_poly.h"

#include <algorithm>
#include <climits>
#include <cmath>

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

// An edge crossing rows first to last, stepped by its slope: x = a.x + (y - a.y) * slope
// lands within `tolerance` of what Edge::x gives, so wherever that approximation is
// farther than the tolerance from a pixel centre, it picks the same first column at or
// right of the crossing, and Edge::x is only evaluated near a centre.
struct TableEdge {
  TableEdge(const Edge& e, int64_t firstRow, int64_t lastRow)
      : edge(e), first(firstRow), last(lastRow), slope((e.b.x - e.a.x) / (e.b.y - e.a.y)) {
    // Both expressions round a handful of times, each by at most 2^-53 of a value no
    // larger than |a.x| + |b.x - a.x| (the crossing lies between the ends).
    const double scale = std::abs(e.a.x) + std::abs(e.b.x - e.a.x) + 1.0;
    tolerance = 0x1p-46 * scale;
    // A slope or scale that overflowed, or NaN, leaves every crossing to Edge::x.
    if (!(std::isfinite(slope) && tolerance < 0.25)) tolerance = 1.0;
  }
  Edge edge;
  int64_t first, last;
  double slope, tolerance = 1.0;
};

// The first column whose centre lies at or right of where `e` crosses the line at y,
// held within [lo, hi], from Edge::x.
[[gnu::noinline]] int32_t exactCrossingColumn(const TableEdge& e, double y, int32_t lo,
                                              int32_t hi) {
  return static_cast<int32_t>(std::clamp<int64_t>(lcFirstColumnFrom(e.edge.x(y)), lo, hi));
}

// An edge crossing the current row, stepped a row at a time in 32.32 fixed point: `v`
// is its crossing less half a pixel, so ceil(v) is the first column whose centre lies
// at or right of it. Each step truncates by less than one unit and the start lies within
// the edge's tolerance, so v stays within `slack` units of the crossing Edge::x gives;
// where its fraction is farther than that from a whole column, the column is the same,
// and elsewhere Edge::x decides.
struct Active {
  Active(const TableEdge& e, int64_t row) : entry(&e) {
    const double v = e.edge.a.x + (lcPixelCentre(row) - e.edge.a.y) * e.slope - 0.5;
    const double rows = static_cast<double>(e.last - row) + 2.0;
    const double slackUnits = rows + (e.tolerance + 0x1p-52 * std::abs(v)) * kOne + 1.0;
    // Fixed point only where every crossing lies within 2^29 (the tolerance bounds the
    // edge's reach), the step fits and the slack leaves most fractions.
    if (e.tolerance < 0x1p-17 && std::abs(e.slope) < 0x1p29 && slackUnits < 0x1p28) {
      fixed = static_cast<int64_t>(v * kOne);
      step = static_cast<int64_t>(e.slope * kOne);
      slack = static_cast<uint32_t>(slackUnits);
    }
  }
  // The column of the row `y` (the next one after the last asked for), within [lo, hi].
  int32_t next(double y, int32_t lo, int32_t hi) {
    const int64_t v = fixed;
    fixed += step;
    const auto fraction = static_cast<uint32_t>(v);
    if (fraction - slack - 1 >= kMaxFraction - 2 * slack)
      return exactCrossingColumn(*entry, y, lo, hi);
    return static_cast<int32_t>(std::clamp<int64_t>((v >> 32) + 1, lo, hi));
  }

  static constexpr double kOne = 0x1p32;
  static constexpr uint32_t kMaxFraction = UINT32_MAX;
  const TableEdge* entry;
  int64_t fixed = 0, step = 0;
  uint32_t slack = kMaxFraction / 2;  // never within: Edge::x decides every row
  int32_t column = 0;
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

void lcGenPoly::pixelSpans(int32_t row, int32_t x0, int32_t x1,
                           std::vector<lcPixelSpan>& spans) const {
  struct Append final : lcPixelRowSink {
    std::vector<lcPixelSpan>& out;
    explicit Append(std::vector<lcPixelSpan>& o) : out(o) {}
    void row(int32_t, std::span<const lcPixelSpan> s) override {
      out.insert(out.end(), s.begin(), s.end());
    }
  } append(spans);
  if (row < INT32_MAX) pixelRows(row, row + 1, x0, x1, append);
}

void lcGenPoly::pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                          lcPixelRowSink& sink) const {
  std::vector<TableEdge> table;
  const int64_t top = lcFirstColumnFrom(extent_.top);
  const int64_t bottom = lcLastColumnTo(extent_.bottom, false);
  if (vertices_.size() >= 3) {
    forEdges(vertices_, [&](const Edge& e) {
      const double lo = std::min(e.a.y, e.b.y), hi = std::max(e.a.y, e.b.y);
      if (!(lo < hi)) return;  // level, or NaN: it crosses no row
      // The rows whose centres lie in [lo, hi), within the rows asked for and the
      // extent (which a NaN vertex may leave without rows).
      const int64_t first = std::max({lcFirstColumnFrom(lo), top, int64_t{y0}});
      const int64_t last = std::min({lcLastColumnTo(hi, false), bottom, int64_t{y1} - 1});
      if (first <= last) table.emplace_back(e, first, last);
    });
  }
  std::sort(table.begin(), table.end(),
            [](const TableEdge& l, const TableEdge& r) { return l.first < r.first; });
  // Columns outside the extent or the asked ones count as its ends: a span is cut to
  // both, and the pairing of crossings stays the same.
  const int64_t left = std::max<int64_t>(lcFirstColumnFrom(extent_.left), x0);
  const int64_t right = std::min<int64_t>(lcLastColumnTo(extent_.right, false) + 1, x1);
  const auto lo = static_cast<int32_t>(left), hi = static_cast<int32_t>(std::max(left, right));
  std::vector<Active> active;
  active.reserve(table.size());
  std::vector<lcPixelSpan> spans;
  spans.reserve(table.size() / 2 + 1);
  size_t next = 0;
  int64_t lastOfAll = INT64_MAX;  // the first row after which an active edge leaves
  for (int32_t row = y0; row < y1; ++row) {
    const double y = lcPixelCentre(row);
    // Edges ending above this row leave; edges starting on it join.
    if (row > lastOfAll) {
      std::erase_if(active, [&](const Active& a) { return a.entry->last < row; });
      lastOfAll = INT64_MAX;
      for (const Active& a : active)
        lastOfAll = std::min(lastOfAll, a.entry->last);
    }
    for (; next < table.size() && table[next].first <= row; ++next) {
      active.emplace_back(table[next], row);
      lastOfAll = std::min(lastOfAll, table[next].last);
    }
    for (Active& a : active)
      a.column = a.next(y, lo, hi);
    // Insertion sort: the order changes little from row to row.
    for (size_t i = 1; i < active.size(); ++i)
      for (size_t j = i; j > 0 && active[j].column < active[j - 1].column; --j)
        std::swap(active[j], active[j - 1]);
    // Inside from crossing 2k to 2k + 1: an odd count lies at or left of the centre.
    spans.clear();
    for (size_t k = 0; k + 1 < active.size(); k += 2) {
      const int32_t begin = active[k].column, end = active[k + 1].column;
      if (begin >= end) continue;
      if (!spans.empty() && spans.back().end == begin)
        spans.back().end = end;
      else
        spans.push_back({begin, end});
    }
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
