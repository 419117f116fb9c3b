#pragma once
// Deep copies of components: the copy holds copies of everything the source holds, an
// object reached twice is copied once and shared the same way, and an object that holds
// itself (through its Tag, say) holds its own copy.

#include "lumxip/HalvexCore.h"
#include "persist/export.h"

// Copies `source` into `destination` (of the same class; E_INVALIDARG otherwise) or, when
// `destination` is null, into a new object of its class; hands the copy back as
// ILumObject when `copy` is given. Throws lcCOMError on failure (call inside a boundary).
LUM_PERSIST_API void lcDeepCopy(IUnknown* source, IUnknown* destination, ILumObject** copy);
