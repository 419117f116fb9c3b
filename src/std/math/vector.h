#pragma once
// A point or a vector of the plane; which one it is depends on how it is mapped
// (lc2XformLinear::mapPoint or mapVector).

#include "std/export.h"

class lcArchive;

struct LC_VISIBLE lc2Vector {
  double x = 0.0;
  double y = 0.0;

  friend bool operator==(const lc2Vector&, const lc2Vector&) = default;
  lc2Vector operator+(const lc2Vector& other) const { return {x + other.x, y + other.y}; }
  lc2Vector operator-(const lc2Vector& other) const { return {x - other.x, y - other.y}; }
  lc2Vector operator-() const { return {-x, -y}; }

  // Its own version (source "vector"), then x and y.
  void archive(lcArchive& archive);
};
