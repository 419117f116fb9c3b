#pragma once
// Errors of the convolution kernels. ZeroKernel is this library's own: an N x M kernel
// of zeros has no scale, and the operator reports it in its own words.

#include "std/except/exception.h"

namespace lcConvolveParams {
LC_ERROR_GROUP();
LC_ERROR(lcConvolveParams, NotImplemented, 0x10002360);
LC_ERROR(lcConvolveParams, BadArgument, 0x10002361);
LC_ERROR(lcConvolveParams, UnboundWindow, 0x10002362);
LC_ERROR(lcConvolveParams, ZeroKernel, 0x10002363);
}  // namespace lcConvolveParams
