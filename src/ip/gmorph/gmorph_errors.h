#pragma once
// Errors of the grey-morphology kernels.

#include "std/except/exception.h"

namespace lcGMorphDefs {
LC_ERROR_GROUP();
LC_ERROR(lcGMorphDefs, BadElement, 0x10003100);
LC_ERROR(lcGMorphDefs, EmptyList, 0x10003101);
LC_ERROR(lcGMorphDefs, NotImplemented, 0x10003102);
LC_ERROR(lcGMorphDefs, BadImage, 0x10003103);
}  // namespace lcGMorphDefs
