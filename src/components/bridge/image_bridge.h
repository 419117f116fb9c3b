#pragma once
// The crossing between core-library images and pixel buffers, both ways.
//
// In: an image (and a region, in a region mode) becomes a buffer that views the image's
// own pixels, cut to the region's pixel-aligned bounding box, whose transform maps the
// image's selected space to the buffer's pixels.
// Out: a result buffer becomes a new image over the same pixels (no copy), placed in the
// template image's coordinate space: its pixel-from-root transform is the buffer's
// transform after the template's root-to-selected transform, less the buffer's offset.
//
// Every function throws lcCOMError or a core exception; call inside a call boundary.

#include "components/bridge/image_roots.h"
#include "components/framework/export.h"
#include "std/pelbuf/pel_range16.h"

// What an operator's Execute was given.
struct lcImageRequest {
  ILumImage* image = nullptr;
  LONG regionMode = lumRegionModePixelAlignedBoundingBox;
  ILumRegion* region = nullptr;
  bool writeIntoInput = false;  // access mode 3: the kernel writes the image's own pixels
};

// The pixel formats an operator accepts, tried in this order.
enum lcImageFormat : unsigned {
  lcImageFormatNone = 0,
  lcImageFormatGrey8 = 1,
  lcImageFormatGrey16 = 2,
  lcImageFormatPlanar24 = 4,
  lcImageFormatRange16 = 8,
};

// The first of the accepted formats the image offers (8-bit grey, 16-bit grey, planar
// colour, range), or lcImageFormatNone.
LUM_FRAMEWORK_API lcImageFormat lcChooseImageFormat(ILumImage* image, unsigned accepted);

// The transform from the image's selected space to its pixels, as buffers carry it;
// 0x8004E200 when it is not linear.
LUM_FRAMEWORK_API lc2XformCache lcSelectedToPixels(ILumImage* image);

// `region` mapped from its selected space into the image's pixel space (unknown space:
// 0x8004E402; a mapped object that is no region: E_NOINTERFACE).
LUM_FRAMEWORK_API ComPtr<ILumRegion> lcMapRegionIntoPixels(ILumImage* image, ILumRegion* region);

// Input buffers, one per format. A null image gives 0x8004E400; region mode 0 gives
// E_INVALIDARG (message 0x80048101); an image without pixels 0x8004E102; a region whose
// space the image does not know 0x8004E402; a region wholly outside the image 0x8004E103;
// a selected space that is no linear map of the pixels 0x8004E200.
LUM_FRAMEWORK_API lcPelBuffer<uint8_t> lcInputBuffer8(const lcImageRequest& request);
LUM_FRAMEWORK_API lcPelBuffer<uint16_t> lcInputBuffer16(const lcImageRequest& request);
LUM_FRAMEWORK_API lc3PlanePelBuffer lcInputBuffer24(const lcImageRequest& request);
LUM_FRAMEWORK_API lcPelBufferRange16 lcInputBufferRange16(const lcImageRequest& request);

// Output images, one per format, placed by `templateImage` when there is one. A template
// whose selected space is not a linear map of its root gives 0x8004E200; a planar buffer
// of a colour space other than 1 or 2 gives E_INVALIDARG (message 0x8004810A).
LUM_FRAMEWORK_API ComPtr<ILumImage> lcOutputImage8(const lcPelBuffer<uint8_t>& result,
                                                   ILumImage* templateImage);
LUM_FRAMEWORK_API ComPtr<ILumImage> lcOutputImage16(const lcPelBuffer<uint16_t>& result,
                                                    ILumImage* templateImage);
LUM_FRAMEWORK_API ComPtr<ILumImage> lcOutputImage24(const lc3PlanePelBuffer& result,
                                                    ILumImage* templateImage);
LUM_FRAMEWORK_API ComPtr<ILumImage> lcOutputImageRange16(const lcPelBufferRange16& result,
                                                         ILumImage* templateImage);

// A linear transform object of the core object library holding `value`.
LUM_FRAMEWORK_API ComPtr<ILumTransform2D> lcTransformObject(const lc2XformLinear& value);
// The value of a transform that must be linear: 0x8004E200 for any other, E_NOINTERFACE
// for none.
LUM_FRAMEWORK_API lc2XformLinear lcRequireLinear(ILumTransform2D* transform);

inline constexpr HRESULT kNoInputImage = hresultFrom(0x8004E400);
inline constexpr HRESULT kUnsupportedPixelFormat = hresultFrom(0x8004E105);
inline constexpr HRESULT kImageWithoutPixels = hresultFrom(0x8004E102);
inline constexpr HRESULT kWindowOutsideImage = hresultFrom(0x8004E103);
inline constexpr HRESULT kTransformNotLinear = hresultFrom(0x8004E200);
inline constexpr HRESULT kRegionDoesNotFit = hresultFrom(0x8004E402);
