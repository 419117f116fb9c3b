#pragma once
// The frame of every two-image operator's Execute: check the inputs and choose the path
// (both 8-bit grey or both 16-bit grey), view each input's pixels cut to its region,
// place B against A, run the operator's kernel over the common window, and make the
// output image with the coordinate-space tree its SpaceTreeMode asks for.
//
// The kernel gives, for the formats it supports,
//   lcPelBuffer<uint8_t> grey8(const lcPelBuffer<uint8_t>& a, const lcPelBuffer<uint8_t>& b);
//   lcPelBuffer<uint16_t> grey16(const lcPelBuffer<uint16_t>& a, const lcPelBuffer<uint16_t>& b);
// each returning a buffer over exactly the pixels both windows share in buffer
// coordinates (unbound when they share none).

#include "components/bridge/image_bridge.h"
#include "components/framework/com_error.h"
#include "lumxip/ip/result_codes.h"
#include "lumxip/ip/two_image.h"

// The common parameters as one Execute reads them.
struct lcTwoImageSetup {
  LONG regionModeA = lumRegionModePixelAlignedBoundingBox;
  LONG regionModeB = lumRegionModePixelAlignedBoundingBox;
  bool alignmentEnabled = false;
  double alignAX = 0, alignAY = 0, alignBX = 0, alignBY = 0;
  LONG spaceTreeMode = lumIPTwoImageSpaceTreeModeCopyA;
  const wchar_t* mergedSpaceTreeName = L"MergedSpaceTree";
};

// The setup from a parameter struct holding the nine common fields.
template <class Params>
lcTwoImageSetup lcTwoImageSetupOf(const Params& p) {
  return {p.RegionModeA,
          p.RegionModeB,
          p.ImageAlignmentEnabled.value,
          p.ImageAAlignmentX,
          p.ImageAAlignmentY,
          p.ImageBAlignmentX,
          p.ImageBAlignmentY,
          p.SpaceTreeMode,
          p.MergedSpaceTreeName.get() ? p.MergedSpaceTreeName.get() : L""};
}

struct lcTwoImageRequest {
  ILumImage* imageA = nullptr;
  ILumImage* imageB = nullptr;
  ILumRegion* regionA = nullptr;
  ILumRegion* regionB = nullptr;
};

// Rounds half away from zero: 2.5 to 3, -2.5 to -3.
LUM_FRAMEWORK_API int32_t lcRoundAlignment(double value);

// Replaces b's offset: a's offset without alignment (the windows' first pixels meet);
// with it, b's offset moved by the rounded distance from B's alignment point to A's,
// both mapped through their buffers' transforms.
LUM_FRAMEWORK_API void lcPlaceSecondImage(const lcTwoImageSetup& setup, const lcPelFrame& a,
                                          lcPelFrame& b);

// Gives `output` (made from `result`, the kernel's buffer over the common window) its
// coordinate spaces: the tree and selected space of A (SpaceTreeMode 0, 2) or B (1, 3)
// with that input's pixel-from-root transform moved onto the output's pixels, and for
// modes 2 and 3 the other input's tree attached under the root as MergedSpaceTreeName.
LUM_FRAMEWORK_API void lcGiveTwoImageSpaces(const lcTwoImageSetup& setup,
                                            const lcTwoImageRequest& request, const lcPelFrame& a,
                                            const lcPelFrame& b, const lcPelFrame& result,
                                            ILumImage* output);

// A 16-bit output's pixel-depth code: the larger of the inputs' (4 where one has none).
LUM_FRAMEWORK_API void lcGiveDeeperPixelDepth(const lcTwoImageRequest& request, ILumImage* output);

namespace lum::detail {

template <class Pel, class Kernel>
ComPtr<ILumImage> runTwoImagePath(const lcTwoImageSetup& setup, Kernel& kernel,
                                  const lcTwoImageRequest& request) {
  const lcImageRequest inA{request.imageA, setup.regionModeA, request.regionA};
  const lcImageRequest inB{request.imageB, setup.regionModeB, request.regionB};
  lcPelBuffer<Pel> a, b, result;
  if constexpr (sizeof(Pel) == 1) {
    a = lcInputBuffer8(inA);
    b = lcInputBuffer8(inB);
  } else {
    a = lcInputBuffer16(inA);
    b = lcInputBuffer16(inB);
  }
  lcPlaceSecondImage(setup, a, b);
  if constexpr (sizeof(Pel) == 1)
    result = kernel.grey8(a, b);
  else
    result = kernel.grey16(a, b);
  if (!result.isBound()) throw lcCOMError(e_LumIP_NoRegionOverlap, 0);
  ComPtr<ILumImage> output;
  if constexpr (sizeof(Pel) == 1) {
    output = lcOutputImage8(result, nullptr);
  } else {
    output = lcOutputImage16(result, nullptr);
    lcGiveDeeperPixelDepth(request, output.get());
  }
  lcGiveTwoImageSpaces(setup, request, a, b, result, output.get());
  return output;
}

}  // namespace lum::detail

// The output image of a two-image Execute. Throws: 0x8004E400 for a missing input,
// 0x8004E105 unless both are 8-bit grey or both 16-bit grey, e_LumIP_NoRegionOverlap when
// the placed windows share no pixel, and what the bridge throws.
template <class Kernel>
ComPtr<ILumImage> lcRunTwoImageFrame(const lcTwoImageSetup& setup, Kernel& kernel,
                                     const lcTwoImageRequest& request) {
  if (request.imageA == nullptr || request.imageB == nullptr) throw lcCOMError(kNoInputImage, 0);
  const unsigned grey = lcImageFormatGrey8 | lcImageFormatGrey16;
  const lcImageFormat formatA = lcChooseImageFormat(request.imageA, grey);
  const lcImageFormat formatB = lcChooseImageFormat(request.imageB, grey);
  if (formatA != formatB || formatA == lcImageFormatNone)
    throw lcCOMError(kUnsupportedPixelFormat, 0);
  if (formatA == lcImageFormatGrey8)
    return lum::detail::runTwoImagePath<uint8_t>(setup, kernel, request);
  return lum::detail::runTwoImagePath<uint16_t>(setup, kernel, request);
}
