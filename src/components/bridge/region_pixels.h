#pragma once
// The pixels of an 8-bit image within a region's pixel-aligned bounding box, copied
// into a new image placed like them: what a tool's "TransformedRegionPixels"
// diagnostic shows, kept as the run saw it even when the input changes later.

#include "components/framework/export.h"
#include "lumxip/HalvexCore.h"
#include "platform/unknown.h"

// Throws as lcInputBuffer8 does.
LUM_FRAMEWORK_API ComPtr<ILumImage> lcCopyPixelsWithin(ILumImage* image, ILumRegion* region);
