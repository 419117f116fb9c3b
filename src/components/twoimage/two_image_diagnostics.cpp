#include "components/twoimage/two_image_diagnostics.h"

#include <algorithm>

#include "std/pelbuf/pel_drivers.h"

namespace {

template <class Pel>
lcPelBuffer<Pel> copyOf(const lcPelBuffer<Pel>& source) {
  lcPelBuffer<Pel> copy;
  lcForEachRow(source, copy,
               [](const Pel* in, Pel* out, int32_t width) { std::copy_n(in, width, out); });
  return copy;
}

// 255 over `shared` (buffer coordinates of `side`), 0 over the rest of side's window.
template <class Pel>
lcPelBuffer<uint8_t> overlapMaskOf(const lcPelBuffer<Pel>& side, const lcPelRect& shared) {
  const lcPelRect window = side.bufferRect();
  lcPelBuffer<uint8_t> mask;
  mask.allocate(window.width(), window.height(), window.x0, window.y0);
  mask.setXform(side.xform());
  const lcPelRows<uint8_t> rows = mask.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    std::fill_n(rows[y], rows.width, uint8_t{0});
  const lcPelRect inside = lcIntersect(window, shared);
  if (inside.isEmpty()) return mask;
  lcPelBuffer<uint8_t> part = mask;
  part.setBufferWindow(inside);
  const lcPelRows<uint8_t> partRows = part.rows();
  for (int32_t y = 0; y < partRows.height; ++y)
    std::fill_n(partRows[y], partRows.width, uint8_t{255});
  return mask;
}

lcPelRect shifted(const lcPelRect& rect, int32_t dx, int32_t dy) {
  return {rect.x0 + dx, rect.y0 + dy, rect.x1 + dx, rect.y1 + dy};
}

template <class Pel>
ComPtr<ILumImage> imageOf(const lcPelBuffer<Pel>& buffer, ILumImage* placedLike) {
  if constexpr (sizeof(Pel) == 1)
    return lcOutputImage8(buffer, placedLike);
  else
    return lcOutputImage16(buffer, placedLike);
}

template <class Pel>
lcPelBuffer<Pel> inputBuffer(const lcImageRequest& request) {
  if constexpr (sizeof(Pel) == 1)
    return lcInputBuffer8(request);
  else
    return lcInputBuffer16(request);
}

template <class Pel>
lcTwoImageDiagnostics imagesOf(const lcTwoImageSetup& setup, const lcTwoImageRequest& request,
                               bool regionImages, bool overlapMasks) {
  const lcPelBuffer<Pel> a = inputBuffer<Pel>({request.imageA, setup.regionModeA, request.regionA});
  const lcPelBuffer<Pel> b = inputBuffer<Pel>({request.imageB, setup.regionModeB, request.regionB});
  lcTwoImageDiagnostics images;
  if (regionImages) {
    images.a.regionImage = imageOf(copyOf(a), request.imageA);
    images.b.regionImage = imageOf(copyOf(b), request.imageB);
  }
  if (overlapMasks) {
    lcPelBuffer<Pel> placedB = b;
    lcPlaceSecondImage(setup, a, placedB);
    const lcPelRect shared = lcIntersect(a.bufferRect(), placedB.bufferRect());
    images.a.overlapMask = imageOf(overlapMaskOf(a, shared), request.imageA);
    // Back from placed coordinates into B's own.
    const lcPelRect sharedInB =
        shifted(shared, b.offsetX() - placedB.offsetX(), b.offsetY() - placedB.offsetY());
    images.b.overlapMask = imageOf(overlapMaskOf(b, sharedInB), request.imageB);
  }
  return images;
}

}  // namespace

lcTwoImageDiagnostics lcTwoImageDiagnosticImages(const lcTwoImageSetup& setup,
                                                 const lcTwoImageRequest& request,
                                                 bool regionImages, bool overlapMasks) {
  if (!request.imageA || !request.imageB || (!regionImages && !overlapMasks)) return {};
  if (setup.regionModeA == lumRegionModeAffineTransform ||
      setup.regionModeB == lumRegionModeAffineTransform)
    return {};
  const unsigned grey = lcImageFormatGrey8 | lcImageFormatGrey16;
  const lcImageFormat format = lcChooseImageFormat(request.imageA, grey);
  if (format == lcImageFormatNone || format != lcChooseImageFormat(request.imageB, grey)) return {};
  try {
    if (format == lcImageFormatGrey8)
      return imagesOf<uint8_t>(setup, request, regionImages, overlapMasks);
    return imagesOf<uint16_t>(setup, request, regionImages, overlapMasks);
  } catch (const lcCOMError&) {
    return {};  // the inputs cannot be viewed as they were given; the run status says why
  } catch (const lcException&) {
    return {};
  }
}
