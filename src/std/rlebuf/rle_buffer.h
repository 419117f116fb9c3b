#pragma once
// Run-length region buffers. The buffer itself arrives with region masks; its errors
// are declared now so that every core code has its class.

#include "std/except/exception.h"

class LC_VISIBLE lcRLEBuffer {
 public:
  LC_ERROR_GROUP();
  LC_ERROR(lcRLEBuffer, Degenerate, 0x10001800);
};
