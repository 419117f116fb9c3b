#pragma once
// Bytes in VARIANTs: how components keep core objects (transforms, shapes, pixel data)
// in a property archive, as a one-dimensional array of bytes (VT_ARRAY | VT_UI1).

#include <cstdint>
#include <span>
#include <vector>

#include "components/framework/com_error.h"
#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"
#include "platform/variant.h"
#include "std/archive/memory_archive.h"

// A VT_ARRAY | VT_UI1 value holding a copy of `bytes`; throws std::bad_alloc.
LUM_FRAMEWORK_API lum::Variant bytesToVariant(std::span<const uint8_t> bytes);
// The bytes of a VT_ARRAY | VT_UI1 value (by reference too); false for anything else.
LUM_FRAMEWORK_API bool variantToBytes(const VARIANT& value, std::vector<uint8_t>& bytes);

// Persists a core object under `name` as the bytes of a core archive: when writing,
// `transfer(lcArchive&)` stores the object into a new archive whose bytes are written;
// when reading, the bytes are read and `transfer` loads the object from them. Returns
// true when something was read. Bytes of another type are noted as a problem.
template <class Transfer>
bool persistCoreBytes(ILumArchive& archive, LONG mode, const wchar_t* name, Transfer&& transfer) {
  const lum::Bstr key(name);
  if (mode & lumPersistWriting) {
    lcMemoryArchive core;
    transfer(static_cast<lcArchive&>(core));
    lum::Variant bytes = bytesToVariant(core.bytes());
    throwIfFailed(archive.PersistVariant(key.get(), bytes.ptr()));
    return false;
  }
  lum::Variant stored;
  if (archive.PersistVariant(key.get(), stored.ptr()) != S_OK) return false;
  std::vector<uint8_t> bytes;
  if (!variantToBytes(stored.get(), bytes)) {
    archive.AddProblem(key.get(), lum::Bstr(L"<not core data>").get());
    return false;
  }
  lcMemoryArchive core(bytes);
  transfer(static_cast<lcArchive&>(core));
  return true;
}
