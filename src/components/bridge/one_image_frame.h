#pragma once
// The frame of every one-image operator's Execute: choose the input's format among those
// the operator accepts, view its pixels cut to the region, run the operator's kernel,
// and make the output image over the kernel's result in the input's coordinate space.
// An operator says which formats it accepts and gives its kernel:
//
//   struct Kernel {
//     lcPelBuffer<uint8_t> grey8(const lcPelBuffer<uint8_t>& source, int plane);  // plane -1: grey
//     lcPelBuffer<uint16_t> grey16(const lcPelBuffer<uint16_t>& source);
//     lcPelBufferRange16 range16(const lcPelBufferRange16& source);
//   };
//
// (only the members for the accepted formats are needed). A colour image runs grey8 once
// per plane (0, 1, 2) and joins the results, keeping the input's colour space.

#include "components/bridge/image_bridge.h"
#include "components/framework/call_boundary.h"
#include "components/framework/com_error.h"

struct lcOneImageFrame {
  unsigned acceptedFormats = lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24;
  bool copyPixelDepth = false;  // a 16-bit or range output takes the input's pixel-depth code
  bool writeIntoInput = false;  // the kernel writes the input's own pixels (access mode 3)
};

namespace lum::detail {

// The region modes Execute accepts never mask: an operator processes, and an operator
// that builds a table from the image's own values counts, every pixel of the region's
// pixel-aligned bounding box, which the input buffer already is.
template <class Buffer>
void applyRegionMask(Buffer&, const lcImageRequest&) {}

// Both 16-bit kinds carry a pixel-depth code: Image is ILumImage16Grey or ILumImage16Range.
template <class Image>
void copyPixelDepth(ILumImage* from, ILumImage* to) {
  ComPtr<Image> source, target;
  from->QueryInterface(iid_of<Image>, source.putVoid());
  to->QueryInterface(iid_of<Image>, target.putVoid());
  if (!source || !target) return;
  LONG depth = lumPixelDepth16Bits;
  throwIfFailed(source->get_PixelDepth(&depth));
  throwIfFailed(target->put_PixelDepth(depth));
}

template <class Kernel>
ComPtr<ILumImage> runFrame(const lcOneImageFrame& frame, Kernel& kernel,
                           const lcImageRequest& request) {
  if (request.image == nullptr) throw lcCOMError(kNoInputImage, 0);
  switch (lcChooseImageFormat(request.image, frame.acceptedFormats)) {
    case lcImageFormatGrey8:
      if constexpr (requires { kernel.grey8(lcPelBuffer<uint8_t>(), -1); }) {
        lcPelBuffer<uint8_t> source = lcInputBuffer8(request);
        applyRegionMask(source, request);
        return lcOutputImage8(kernel.grey8(source, -1), request.image);
      }
      break;
    case lcImageFormatGrey16:
      if constexpr (requires { kernel.grey16(lcPelBuffer<uint16_t>()); }) {
        lcPelBuffer<uint16_t> source = lcInputBuffer16(request);
        applyRegionMask(source, request);
        ComPtr<ILumImage> output = lcOutputImage16(kernel.grey16(source), request.image);
        if (frame.copyPixelDepth) copyPixelDepth<ILumImage16Grey>(request.image, output.get());
        return output;
      }
      break;
    case lcImageFormatPlanar24:
      if constexpr (requires { kernel.grey8(lcPelBuffer<uint8_t>(), 0); }) {
        lc3PlanePelBuffer source = lcInputBuffer24(request);
        applyRegionMask(source, request);
        lcPelBuffer<uint8_t> planes[3];
        for (int p = 0; p < 3; ++p)
          planes[p] = kernel.grey8(source.plane(p), p);
        lc3PlanePelBuffer joined = lc3PlanePelBuffer::join(planes[0], planes[1], planes[2]);
        joined.setColorSpace(source.colorSpace());
        return lcOutputImage24(joined, request.image);
      }
      break;
    case lcImageFormatRange16:
      if constexpr (requires { kernel.range16(lcPelBufferRange16()); }) {
        lcPelBufferRange16 source = lcInputBufferRange16(request);
        applyRegionMask(source, request);
        ComPtr<ILumImage> output = lcOutputImageRange16(kernel.range16(source), request.image);
        if (frame.copyPixelDepth) copyPixelDepth<ILumImage16Range>(request.image, output.get());
        return output;
      }
      break;
    default:
      break;
  }
  throw lcCOMError(kUnsupportedPixelFormat, 0);
}

}  // namespace lum::detail

// The whole Execute of a one-image operator, inside the call boundary of `context`.
// Nothing is returned on failure: the output stays null and no reference is kept.
template <class Kernel>
HRESULT lcExecuteOneImage(const lcErrorContext& context, const lcOneImageFrame& frame,
                          Kernel& kernel, ILumImage* input, LONG regionMode, ILumRegion* region,
                          ILumImage** output) {
  if (HRESULT hr = lcClearOutPointers(output); FAILED(hr)) return hr;
  return callBoundary(context, [&] {
    const lcImageRequest request{input, regionMode, region, frame.writeIntoInput};
    *output = lum::detail::runFrame(frame, kernel, request).detach();
  });
}
