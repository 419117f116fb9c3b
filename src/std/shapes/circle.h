#pragma once
// A circle: centre and radius. It holds its whole boundary: a point at distance <= r
// from the centre is inside. Archived source "circle".

#include "std/shapes/span_shape.h"

class LC_VISIBLE lcCircle final : public lcSpanShape {
 public:
  // The unit circle at the origin.
  lcCircle() : lcSpanShape(true) {}
  lcCircle(const lc2Vector& centre, double radius)
      : lcSpanShape(true), centre_(centre), radius_(radius) {}

  const lc2Vector& centre() const { return centre_; }
  double radius() const { return radius_; }
  // The map of the unit circle onto this one.
  lc2XformLinear unitCircle() const;

  // radius > 0 (NaN fails).
  bool isNonDegenerate() const override { return radius_ > 0.0; }
  // A circle has one direction only, so it is right-handed and does not reverse.
  bool isRightHanded() const override { return true; }
  // A radius <= 0 gives the centre alone, or nothing when tangents are asked for.
  void sample(const lcSampleParams& params, lcBoundarySamples& samples) const override;
  // The identity gives a copy; any other transform an lcEllipse2.
  lcShapeHandle map(const lc2XformLinear& xform) const override;
  // The rows with rowSpans inlined into the loop: the common regions encode fastest.
  void pixelRows(int32_t y0, int32_t y1, int32_t x0, int32_t x1,
                 lcPixelRowSink& sink) const override;
  bool isEqual(const lcShape& other) const override { return equalAsClass(*this, other); }
  void visit(lcShapeVisitor& visitor) const override { visitor.visit(*this); }
  friend bool operator==(const lcCircle& l, const lcCircle& r) {
    return l.centre_ == r.centre_ && l.radius_ == r.radius_;
  }
  // Version, base part, centre (x, y), radius.
  void archive(lcArchive& archive) override;

 protected:
  // One turn from (cx + r, cy).
  lcBoundary boundary() const override;
  // The chord at y: half-width sqrt((r - |dy|)(r + |dy|)), never beyond r.
  void rowSpans(double y, lcRealSpans& spans) const override;
  lcExtent extent() const override;

 private:
  lc2Vector centre_;
  double radius_ = 1.0;
};
