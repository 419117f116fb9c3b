#pragma once
// The callback object of lcShape::visit: a shape calls the overload for its own class.
// Each overload passes the shape on to other() unless a visitor takes it itself.

class lcShape;
class lc2Point;
class lcLineSeg;
class lcLine;
class lcFLine;
class lcRect;
class lcGenRect;
class lcAffineRectangle;
class lcCircle;
class lcEllipse2;
class lcAnnulus;
class lcEllipseAnnulus;
class lcEllipseAnnulusSection;
class lcPolyline;
class lcGenPoly;
class lcLineSegSet;

#include "std/export.h"

class LC_VISIBLE lcShapeVisitor {
 public:
  virtual void other(const lcShape&) {}
  virtual void visit(const lc2Point& s);
  virtual void visit(const lcLineSeg& s);
  virtual void visit(const lcLine& s);
  virtual void visit(const lcFLine& s);
  virtual void visit(const lcRect& s);
  virtual void visit(const lcGenRect& s);
  virtual void visit(const lcAffineRectangle& s);
  virtual void visit(const lcCircle& s);
  virtual void visit(const lcEllipse2& s);
  virtual void visit(const lcAnnulus& s);
  virtual void visit(const lcEllipseAnnulus& s);
  virtual void visit(const lcEllipseAnnulusSection& s);
  virtual void visit(const lcPolyline& s);
  virtual void visit(const lcGenPoly& s);
  virtual void visit(const lcLineSegSet& s);

 protected:
  ~lcShapeVisitor() = default;
};
