#pragma once
// The diagnostic images a two-image tool shows of its last run: each input's pixels
// within its region ("TransformedRegionImageA"/"B") and, over each input's window, a mask
// of the pixels the placed windows share ("OverlapMaskA"/"B", 255 inside, 0 outside).
// Both lie in their input's coordinate space, so a display draws them over the input.

#include "components/twoimage/two_image_frame.h"

struct lcTwoImageSideImages {
  ComPtr<ILumImage> regionImage;
  ComPtr<ILumImage> overlapMask;
};

struct lcTwoImageDiagnostics {
  lcTwoImageSideImages a, b;
};

// The images `request` and `setup` give, as far as they can be made: none when an input
// is missing, the inputs differ in format, a region mode is the affine one, or an input
// cannot be viewed (the run that used them reported why).
LUM_FRAMEWORK_API lcTwoImageDiagnostics lcTwoImageDiagnosticImages(const lcTwoImageSetup& setup,
                                                                   const lcTwoImageRequest& request,
                                                                   bool regionImages,
                                                                   bool overlapMasks);
