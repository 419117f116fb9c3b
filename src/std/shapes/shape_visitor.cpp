#include "std/shapes/shape_visitor.h"

#include "std/shapes/affine_rectangle.h"
#include "std/shapes/annulus.h"
#include "std/shapes/circle.h"
#include "std/shapes/ellipse.h"
#include "std/shapes/ellipse_annulus_section.h"
#include "std/shapes/gen_poly.h"
#include "std/shapes/gen_rect.h"
#include "std/shapes/polyline.h"

void lcShapeVisitor::visit(const lc2Point& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcLineSeg& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcLine& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcFLine& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcRect& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcGenRect& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcAffineRectangle& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcCircle& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcEllipse2& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcAnnulus& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcEllipseAnnulus& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcEllipseAnnulusSection& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcPolyline& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcGenPoly& s) {
  other(s);
}
void lcShapeVisitor::visit(const lcLineSegSet& s) {
  other(s);
}
