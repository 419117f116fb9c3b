#pragma once
// LumArchive: the in-memory property archive. Components name each persisted property to
// it; it keeps them as an ordered list of {value, name} entries, and reads them back by
// name, fastest in the order they were written. It is made directly (its class
// identifier is null), written or read by one top-level Persist call and the nested ones
// it makes, then dropped. One thread uses it at a time.

#include <string_view>

#include "lumxip/HalvexCore.h"
#include "persist/export.h"

// A new, empty archive in `mode` (lumPersistWriting set: for writing).
LUM_PERSIST_API ComPtr<ILumArchive> lcCreatePropertyArchive(LONG mode);

// Appends {value, key} to an archive that lcCreatePropertyArchive made, as a reader of
// stored archives does: no name check, no default, no events. Throws std::bad_alloc.
LUM_PERSIST_API void lcAppendToArchive(ILumArchive& archive, const VARIANT& value,
                                       std::wstring_view key);

// True for a name of letters, digits, "_" and ":", with "." and "-" after the first.
LUM_PERSIST_API bool lcIsValidPropertyName(std::wstring_view name);
