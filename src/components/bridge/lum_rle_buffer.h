#pragma once
// A run-length buffer over an encoding the core object library handed over: the rows
// stay in the VARIANT (VT_ARRAY | VT_UI1) the region filled, which the buffer keeps,
// together with a reference to the region, until its last copy goes.

#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"
#include "platform/unknown.h"
#include "std/rlebuf/rle_buffer.h"

class LUM_VISIBLE lcLumRLEBuffer : public lcRLEBuffer {
 public:
  // Takes over `rows`. Every row is checked before the buffer exists
  // (lcRLEBuffer::BadEncoding), since the bytes come from another library; rows of
  // another type are BadEncoding too.
  LUM_FRAMEWORK_API lcLumRLEBuffer(ComPtr<ILumRegion> region, LONG offsetX, LONG offsetY,
                                   LONG width, LONG height, VARIANT& rows);
};
