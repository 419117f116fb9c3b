#pragma once
// Bytes in VARIANTs: how components keep core objects (transforms, shapes, pixel data)
// in a property archive, as a one-dimensional array of bytes (VT_ARRAY | VT_UI1).

#include <cstdint>
#include <span>
#include <vector>

#include "components/framework/export.h"
#include "platform/variant.h"

// A VT_ARRAY | VT_UI1 value holding a copy of `bytes`; throws std::bad_alloc.
LUM_FRAMEWORK_API lum::Variant bytesToVariant(std::span<const uint8_t> bytes);
// The bytes of a VT_ARRAY | VT_UI1 value (by reference too); false for anything else.
LUM_FRAMEWORK_API bool variantToBytes(const VARIANT& value, std::vector<uint8_t>& bytes);
