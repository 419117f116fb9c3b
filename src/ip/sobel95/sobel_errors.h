#pragma once
// Errors of the edge kernels: parameters the detector cannot work with.

#include "std/except/exception.h"

namespace lcEdgeletDefs {
LC_ERROR_GROUP();
LC_ERROR(lcEdgeletDefs, BadParams, 0x10002C00);
}  // namespace lcEdgeletDefs
