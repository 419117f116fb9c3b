#pragma once
// Errors of the shape classes. Every shape error derives from lcShapesError::Errors,
// including the ones a class declares inside itself (lcAffineRectangle::BadLength).

#include "std/except/exception.h"

namespace lcShapesError {
LC_ERROR_GROUP();
LC_ERROR(lcShapesError, DegenerateShape, 0x10002a00);
LC_ERROR(lcShapesError, LinesParallel, 0x10002a01);
LC_ERROR(lcShapesError, BadRadius, 0x10002a02);
LC_ERROR(lcShapesError, NotConcentric, 0x10002a03);
LC_ERROR(lcShapesError, BadCoef, 0x10002a04);
LC_ERROR(lcShapesError, BadGeom, 0x10002a05);
LC_ERROR(lcShapesError, BadUnit, 0x10002a06);
LC_ERROR(lcShapesError, BadIndex, 0x10002a10);
LC_ERROR(lcShapesError, BadParams, 0x10002a11);
LC_ERROR(lcShapesError, InfiniteExtent, 0x10002a20);
LC_ERROR(lcShapesError, NotOpenContour, 0x10002a21);
LC_ERROR(lcShapesError, NotRegion, 0x10002a22);
LC_ERROR(lcShapesError, SampleOverflow, 0x10002a23);
LC_ERROR(lcShapesError, NoTangent, 0x10002a24);
LC_ERROR(lcShapesError, EmptyShape, 0x10002a25);
LC_ERROR(lcShapesError, NotReversible, 0x10002a26);
LC_ERROR(lcShapesError, NonpositiveWeight, 0x10002a30);
LC_ERROR(lcShapesError, CoincidentShapePoints, 0x10002a31);
LC_ERROR(lcShapesError, NotImplemented, 0x10002aff);
}  // namespace lcShapesError
