#pragma once
// A shape's boundary as pieces, and the queries every shape answers from them:
// length, nearest point, sampling, points and tangents along an open contour.
//
// A piece is a straight segment or an arc of the ellipse c + E (cos t, sin t) for t
// running from t0 to t1 (backwards when t1 < t0). A contour is pieces end to end; a
// closed one ends where it began. A boundary is one or more contours (a ring has two).

#include <vector>

#include "std/shapes/shape.h"

struct lcBoundaryPiece {
  bool isArc = false;
  lc2Vector from, to;      // a segment's ends
  lc2XformLinear ellipse;  // an arc's unit-circle map
  double t0 = 0.0, t1 = 0.0;

  static lcBoundaryPiece segment(const lc2Vector& from, const lc2Vector& to) {
    return {false, from, to, {}, 0.0, 0.0};
  }
  static lcBoundaryPiece arc(const lc2XformLinear& ellipse, double t0, double t1);
  lc2Vector pointAt(double fraction) const;
  // The direction of travel at `fraction`, in [-pi, pi).
  double tangentAt(double fraction) const;
  double length() const;
};

struct lcContour {
  lc2Vector start;  // where it begins (the whole of a contour without pieces)
  std::vector<lcBoundaryPiece> pieces;
  bool closed = true;
};

struct lcBoundary {
  std::vector<lcContour> contours;
};

// A closed or open contour through `vertices` (straight pieces; a single vertex gives a
// contour without pieces).
LC_CORE_API lcContour lcPolygonContour(const std::vector<lc2Vector>& vertices, bool closed);
// The boundary of that one contour; none for no vertices.
LC_CORE_API lcBoundary lcVertexBoundary(const std::vector<lc2Vector>& vertices, bool closed);
// A closed contour of one full turn of the ellipse `e`, run backwards if `backwards`.
LC_CORE_API lcContour lcEllipseContour(const lc2XformLinear& e, bool backwards = false);
// E scaled by `s` about its centre.
LC_CORE_API lc2XformLinear lcScaledEllipse(const lc2XformLinear& e, double s);
// The ring between E scaled by `inner` and by `outer`: the outer ellipse, then the
// inner one run backwards (left out when `inner` is 0).
LC_CORE_API lcBoundary lcRingBoundary(const lc2XformLinear& e, double inner, double outer);

LC_CORE_API double lcBoundaryLength(const lcBoundary& boundary);
// Of equally near pieces, the first wins.
LC_CORE_API lc2Vector lcNearestOnBoundary(const lcBoundary& boundary, const lc2Vector& point);
// Sampling (see lcShape::sample). Each piece gets the count its spacing and deviation
// ask for; a whole contour of one arc at least 2.
LC_CORE_API void lcSampleBoundary(const lcBoundary& boundary, const lcSampleParams& params,
                                  lcBoundarySamples& samples);
// Checks that `samples` may take points with or without tangents as `params` asks,
// and marks a list not yet started.
LC_CORE_API void lcStartSamples(const lcSampleParams& params, lcBoundarySamples& samples);

// The piece at arc length `length` along the boundary's contours and the fraction
// within it; lcShapesError::BadParams outside [0, length of the boundary].
struct lcPieceAt {
  const lcBoundaryPiece* piece = nullptr;  // null on a boundary without pieces
  double fraction = 0.0;
};
LC_CORE_API lcPieceAt lcPieceAtLength(const lcBoundary& boundary, double length);
