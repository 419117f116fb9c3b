#pragma once
// Rasters into new core-library images and back, through the class registry and the
// public image and pixel-memory interfaces only.

#include "imagefile/raster.h"

// A new image owning the raster's pixels (moved, not copied). Throws lcImageFileError.
ComPtr<ILumImage> lcImageFromRaster(lcRaster&& raster);

// A copy of an image's pixels. Throws lcImageFileError for an image of no known format,
// without pixels, or in a colour space other than RGB.
lcRaster lcRasterFromImage(ILumImage* image);
