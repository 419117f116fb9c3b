#pragma once
// Angles in radians.

#include "std/export.h"

// The angle equal to `theta` modulo 2*pi in [-pi, pi); an angle already there is
// returned unchanged. NaN and infinities give NaN.
LC_CORE_API double lcNormalizeAngle(double theta);
