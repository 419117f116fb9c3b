#pragma once
// The type library of this library, HalvexImageProcessing: its identifier, and (as the
// components arrive) their interfaces, enumerations, state identifiers and error
// constants.

#include "lumxip/HalvexCore.h"

inline constexpr GUID LIBID_HalvexImageProcessing =
    lum::guid("{FD1986F5-29AF-11D3-8550-0050041ADDAF}");
