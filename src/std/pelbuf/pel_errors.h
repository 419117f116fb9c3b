#pragma once
// Errors of pixel buffers and pixel functions.

#include "std/except/exception.h"

namespace lcPel {
LC_ERROR_GROUP();
LC_ERROR(lcPel, UnboundWindow, 0x10000400);
LC_ERROR(lcPel, BadWindow, 0x10000402);
LC_ERROR(lcPel, DisjointWindows, 0x10000403);
LC_ERROR(lcPel, BadCoord, 0x10000405);
LC_ERROR(lcPel, Unknown, 0x10000406);
LC_ERROR(lcPel, NonlinearXform, 0x10000409);
}  // namespace lcPel

namespace lcRectErrors {
LC_ERROR_GROUP();
LC_ERROR(lcRectErrors, NoOverlap, 0x10000407);
LC_ERROR(lcRectErrors, NegativeSize, 0x10000408);
}  // namespace lcRectErrors

namespace lcColorSpaceDefs {
LC_ERROR_GROUP();
LC_ERROR(lcColorSpaceDefs, BadColorSpace, 0x1000040a);
}  // namespace lcColorSpaceDefs

namespace lcPelFunc {
LC_ERROR_GROUP();
LC_ERROR(lcPelFunc, Range, 0x10000500);
LC_ERROR(lcPelFunc, Overlap, 0x10000501);
LC_ERROR(lcPelFunc, BadParams, 0x10000502);
}  // namespace lcPelFunc

namespace lcPelBufferRange16Defs {
LC_ERROR_GROUP();
LC_ERROR(lcPelBufferRange16Defs, MaskWindowMismatch, 0x1000cf00);
}  // namespace lcPelBufferRange16Defs
