#pragma once
// Errors of the N x M median filter.

#include "std/except/exception.h"

namespace lcFilterDefs {
LC_ERROR_GROUP();
LC_ERROR(lcFilterDefs, NotImplemented, 0x1000a901);
LC_ERROR(lcFilterDefs, BadParams, 0x1000a902);
LC_ERROR(lcFilterDefs, UnboundWindow, 0x1000a903);
LC_ERROR(lcFilterDefs, UnboundKernel, 0x1000a904);
LC_ERROR(lcFilterDefs, BadKernelSize, 0x1000a905);
LC_ERROR(lcFilterDefs, BadMask, 0x1000a906);
}  // namespace lcFilterDefs
