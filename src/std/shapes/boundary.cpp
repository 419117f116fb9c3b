#include "std/shapes/boundary.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "std/math/angle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/shape_errors.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTurn = 2 * kPi;

double dot(const lc2Vector& a, const lc2Vector& b) {
  return a.x * b.x + a.y * b.y;
}

double squaredDistance(const lc2Vector& a, const lc2Vector& b) {
  const lc2Vector d = a - b;
  return dot(d, d);
}

lc2Vector scaled(const lc2Vector& v, double s) {
  return {v.x * s, v.y * s};
}

// E maps circles to circles: its columns are orthogonal and equally long.
bool isCircular(const lc2Matrix& e) {
  return (e.a() == e.d() && e.b() == -e.c()) || (e.a() == -e.d() && e.b() == e.c());
}

double sweepOf(const lcBoundaryPiece& p) {
  return std::min(std::abs(p.t1 - p.t0), kTurn);
}

lc2Vector onEllipse(const lc2XformLinear& e, double t) {
  return e.mapPoint({std::cos(t), std::sin(t)});
}

// Whether angle t lies on the arc, and its parameter there.
bool onArc(const lcBoundaryPiece& p, double t, double& parameter) {
  const double lo = std::min(p.t0, p.t1);
  double offset = std::fmod(t - lo, kTurn);
  if (offset < 0) offset += kTurn;
  parameter = lo + offset;
  return offset <= sweepOf(p);
}

lc2Vector nearestOnSegment(const lcBoundaryPiece& p, const lc2Vector& point) {
  const lc2Vector d = p.to - p.from;
  const double lengthSquared = dot(d, d);
  if (!(lengthSquared > 0.0)) return p.from;
  const double f = std::clamp(dot(point - p.from, d) / lengthSquared, 0.0, 1.0);
  return p.from + scaled(d, f);
}

// A fine walk along the arc, then a golden-section search within a step either side
// of the nearest point of the walk.
lc2Vector nearestOnEllipseArc(const lcBoundaryPiece& p, const lc2Vector& point) {
  const double lo = std::min(p.t0, p.t1), hi = lo + sweepOf(p);
  constexpr int kSteps = 1024;
  const double step = (hi - lo) / kSteps;
  const auto distanceAt = [&](double t) { return squaredDistance(onEllipse(p.ellipse, t), point); };
  double best = lo, bestDistance = HUGE_VAL;
  for (int k = 0; k <= kSteps; ++k) {
    const double t = lo + step * k, d = distanceAt(t);
    if (d < bestDistance) best = t, bestDistance = d;
  }
  const double golden = (std::sqrt(5.0) - 1) / 2;
  double a = std::max(lo, best - step), b = std::min(hi, best + step);
  for (int i = 0; i < 60 && a < b; ++i) {
    const double c = b - golden * (b - a), d = a + golden * (b - a);
    if (distanceAt(c) < distanceAt(d))
      b = d;
    else
      a = c;
  }
  const double t = (a + b) / 2;
  return distanceAt(t) <= bestDistance ? onEllipse(p.ellipse, t) : onEllipse(p.ellipse, best);
}

lc2Vector nearestOnArc(const lcBoundaryPiece& p, const lc2Vector& point) {
  const lc2Matrix& m = p.ellipse.matrix();
  if (!isCircular(m)) return nearestOnEllipseArc(p, point);
  const lc2Vector centre = p.ellipse.translation(), d = point - centre;
  const double radius = std::hypot(m.a(), m.c());
  // The angle of the point in the arc's own frame (0 for the centre itself).
  const lc2Vector q = m.isSingular() ? lc2Vector{} : m.inverse() * d;
  double parameter = 0.0;
  if (onArc(p, std::atan2(q.y, q.x), parameter)) {
    const double length = std::hypot(d.x, d.y);
    if (length > 0.0) return centre + scaled(d, radius / length);
    return onEllipse(p.ellipse, parameter);
  }
  const lc2Vector a = p.pointAt(0), b = p.pointAt(1);
  return squaredDistance(b, point) < squaredDistance(a, point) ? b : a;
}

// Simpson's rule on |E (-sin t, cos t)|; a circle's arc is exact.
double arcLength(const lcBoundaryPiece& p) {
  const lc2Matrix& m = p.ellipse.matrix();
  const double sweep = sweepOf(p);
  if (isCircular(m)) return sweep * std::hypot(m.a(), m.c());
  const int n = 2 * std::max(16, static_cast<int>(std::ceil(64 * sweep)));
  const auto speed = [&](double t) {
    const lc2Vector v = m * lc2Vector{-std::sin(t), std::cos(t)};
    return std::hypot(v.x, v.y);
  };
  const double h = sweep / n, lo = std::min(p.t0, p.t1);
  double sum = speed(lo) + speed(lo + sweep);
  for (int k = 1; k < n; ++k)
    sum += (k % 2 ? 4 : 2) * speed(lo + k * h);
  return sum * h / 3;
}

bool noSpacingLimit(double spacing) {
  return spacing == 0.0 || std::isnan(spacing);
}

// Points a piece needs for the spacing and the deviation asked for.
size_t countForPiece(const lcBoundaryPiece& p, const lcSampleParams& params) {
  const double m = static_cast<double>(params.maxPoints);
  const double length = p.length();
  double count = 1.0;
  if (!noSpacingLimit(params.spacing)) {
    if (m * params.spacing < length)
      throw lcShapesError::SampleOverflow(L"the spacing asks for more points than allowed");
    count = std::max(count, std::ceil(length / params.spacing));
  }
  if (p.isArc && params.deviation > 0.0) {
    const double radius = lcAxesOfEllipse(p.ellipse).radiusX, d = params.deviation;
    const double angle = d < radius ? std::acos((radius - d) / radius) : kPi / 2;
    const double half = sweepOf(p) / 2;
    if (m * angle <= half)
      throw lcShapesError::SampleOverflow(L"the deviation asks for more points than allowed");
    count = std::max(count, std::ceil(half / angle));
  }
  // Beyond any list: refused before the count could overflow.
  if (!(count <= std::max(m, 2.0)) || !(count < 1e15))
    throw lcShapesError::SampleOverflow(L"the boundary needs more points than allowed");
  return static_cast<size_t>(count);
}

}  // namespace

lcBoundaryPiece lcBoundaryPiece::arc(const lc2XformLinear& ellipse, double t0, double t1) {
  return {true, {}, {}, ellipse, t0, t1};
}

lc2Vector lcBoundaryPiece::pointAt(double fraction) const {
  if (!isArc) return from + scaled(to - from, fraction);
  return onEllipse(ellipse, t0 + fraction * (t1 - t0));
}

double lcBoundaryPiece::tangentAt(double fraction) const {
  if (!isArc) return lcNormalizeAngle(std::atan2(to.y - from.y, to.x - from.x));
  const double t = t0 + fraction * (t1 - t0), turn = t1 < t0 ? kPi : 0.0;
  const lc2Matrix& m = ellipse.matrix();
  // A circle's tangent is its angle plus a quarter turn, exactly.
  if (m.b() == 0.0 && m.c() == 0.0 && m.a() == m.d() && m.a() > 0.0)
    return lcNormalizeAngle(t + kPi / 2 + turn);
  const lc2Vector v = m * lc2Vector{-std::sin(t), std::cos(t)};
  return lcNormalizeAngle(std::atan2(v.y, v.x) + turn);
}

double lcBoundaryPiece::length() const {
  return isArc ? arcLength(*this) : std::sqrt(squaredDistance(from, to));
}

lcContour lcPolygonContour(const std::vector<lc2Vector>& vertices, bool closed) {
  lcContour contour;
  contour.closed = closed;
  if (vertices.empty()) return contour;
  contour.start = vertices.front();
  for (size_t i = 1; i < vertices.size(); ++i)
    contour.pieces.push_back(lcBoundaryPiece::segment(vertices[i - 1], vertices[i]));
  if (closed && vertices.size() > 1)
    contour.pieces.push_back(lcBoundaryPiece::segment(vertices.back(), vertices.front()));
  return contour;
}

lcBoundary lcVertexBoundary(const std::vector<lc2Vector>& vertices, bool closed) {
  lcBoundary b;
  if (!vertices.empty()) b.contours.push_back(lcPolygonContour(vertices, closed));
  return b;
}

lcContour lcEllipseContour(const lc2XformLinear& e, bool backwards) {
  const lcBoundaryPiece arc =
      backwards ? lcBoundaryPiece::arc(e, kTurn, 0.0) : lcBoundaryPiece::arc(e, 0.0, kTurn);
  return {arc.pointAt(0), {arc}, true};
}

lc2XformLinear lcScaledEllipse(const lc2XformLinear& e, double s) {
  const lc2Matrix& m = e.matrix();
  return lc2XformLinear(lc2Matrix(m.a() * s, m.b() * s, m.c() * s, m.d() * s), e.translation());
}

lcBoundary lcRingBoundary(const lc2XformLinear& e, double inner, double outer) {
  lcBoundary ring{{lcEllipseContour(lcScaledEllipse(e, outer))}};
  if (inner > 0.0) ring.contours.push_back(lcEllipseContour(lcScaledEllipse(e, inner), true));
  return ring;
}

double lcBoundaryLength(const lcBoundary& boundary) {
  double length = 0.0;
  for (const lcContour& contour : boundary.contours)
    for (const lcBoundaryPiece& piece : contour.pieces)
      length += piece.length();
  return length;
}

lc2Vector lcNearestOnBoundary(const lcBoundary& boundary, const lc2Vector& point) {
  lc2Vector best{NAN, NAN};
  double bestDistance = HUGE_VAL;
  const auto consider = [&](const lc2Vector& candidate) {
    const double d = squaredDistance(candidate, point);
    if (d < bestDistance || std::isnan(best.x)) best = candidate, bestDistance = d;
  };
  for (const lcContour& contour : boundary.contours) {
    if (contour.pieces.empty()) consider(contour.start);
    for (const lcBoundaryPiece& piece : contour.pieces)
      consider(piece.isArc ? nearestOnArc(piece, point) : nearestOnSegment(piece, point));
  }
  return best;
}

void lcStartSamples(const lcSampleParams& params, lcBoundarySamples& samples) {
  if (samples.points.empty())
    samples.withTangents = params.tangents;
  else if (samples.withTangents != params.tangents)
    throw lcShapesError::BadParams(L"tangents must be asked for as the list began");
}

void lcSampleBoundary(const lcBoundary& boundary, const lcSampleParams& params,
                      lcBoundarySamples& samples) {
  lcStartSamples(params, samples);
  // Every count first, so that a refusal leaves the list as it was.
  std::vector<size_t> counts;
  size_t total = 0;
  const size_t limit = std::max<size_t>(params.maxPoints, 2);
  const auto overflow = [] {
    throw lcShapesError::SampleOverflow(L"the boundary needs more points than allowed");
  };
  for (const lcContour& contour : boundary.contours) {
    const bool oneArc = contour.closed && contour.pieces.size() == 1 && contour.pieces[0].isArc;
    for (const lcBoundaryPiece& piece : contour.pieces) {
      counts.push_back(std::max<size_t>(countForPiece(piece, params), oneArc ? 2 : 1));
      total += counts.back();
      if (total > limit) overflow();
    }
    if (!contour.closed && ++total > limit) overflow();
  }
  const auto add = [&](const lc2Vector& point, double tangent) {
    samples.points.push_back(point);
    if (params.tangents) samples.tangents.push_back(tangent);
  };
  size_t index = 0;
  for (const lcContour& contour : boundary.contours) {
    if (contour.pieces.empty()) {
      if (!params.tangents) add(contour.start, 0.0);  // a point has no direction
      continue;
    }
    for (const lcBoundaryPiece& piece : contour.pieces) {
      const size_t n = counts[index++];
      for (size_t k = 0; k < n; ++k) {
        const double f = static_cast<double>(k) / static_cast<double>(n);
        if (piece.isArc) {
          const double t =
              piece.t0 + static_cast<double>(k) * (piece.t1 - piece.t0) / static_cast<double>(n);
          add(onEllipse(piece.ellipse, t), piece.tangentAt(f));
        } else {
          add(piece.pointAt(f), piece.tangentAt(f));
        }
      }
    }
    if (!contour.closed) add(contour.pieces.back().pointAt(1), contour.pieces.back().tangentAt(1));
  }
}

lcPieceAt lcPieceAtLength(const lcBoundary& boundary, double length) {
  const double total = lcBoundaryLength(boundary);
  if (!(0.0 <= length && length <= total))
    throw lcShapesError::BadParams(L"the length lies off the contour");
  lcPieceAt at;
  double left = length;
  for (const lcContour& contour : boundary.contours)
    for (const lcBoundaryPiece& piece : contour.pieces) {
      const double l = piece.length();
      at = {&piece, l > 0.0 ? std::min(1.0, left / l) : 0.0};
      if (left <= l) return at;
      left -= l;
    }
  return at;
}
