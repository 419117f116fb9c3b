#pragma once
// Errors of the mathematics and transform modules.

#include "std/except/exception.h"

namespace lcMathError {
LC_ERROR_GROUP();
LC_ERROR(lcMathError, Singular, 0x10000f00);
LC_ERROR(lcMathError, NullVector, 0x10000f01);
LC_ERROR(lcMathError, DivisionByZero, 0x10000f02);
}  // namespace lcMathError

namespace lcRangeDefs {
LC_ERROR_GROUP();
LC_ERROR(lcRangeDefs, BadParams, 0x10000f20);
LC_ERROR(lcRangeDefs, NotPartialRange, 0x10000f21);
}  // namespace lcRangeDefs

namespace lc2XformDefs {
LC_ERROR_GROUP();
LC_ERROR(lc2XformDefs, NotImplemented, 0x10000f30);
}  // namespace lc2XformDefs
