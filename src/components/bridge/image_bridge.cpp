#include "components/bridge/image_bridge.h"

#include "components/bridge/affine_input.h"
#include "components/framework/com_error.h"
#include "std/math/xform_linear_object.h"

namespace {

constexpr uint32_t kMessageNotOneOf = 0x80048101;
constexpr uint32_t kMessageNotInEnumeration = 0x8004810A;
constexpr uint32_t kMessageNotAffineRectangle = 0x8004E301;

template <class I>
ComPtr<I> query(IUnknown* object) {
  ComPtr<I> result;
  if (object) object->QueryInterface(iid_of<I>, result.putVoid());
  return result;
}

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  throwIfFailed(
      CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<I>, object.putVoid()));
  return object;
}

lc2XformLinear linearAtOrigin(ILumTransform2D* transform) {
  ComPtr<ILumTransform2DLinear> linear;
  throwIfFailed(transform->GetLinearApproximation(0, 0, linear.put()));
  double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
  throwIfFailed(linear->GetValues(&a, &b, &c, &d, &tx, &ty));
  return lc2XformLinear(lc2Matrix(a, b, c, d), {tx, ty});
}

void checkRequest(const lcImageRequest& request) {
  if (request.image == nullptr) throw lcCOMError(kNoInputImage, 0);
  if (request.regionMode == lumRegionModePixelAlignedBoundingBoxAdjustMask)
    throwInvalidArgument(
        kMessageNotOneOf,
        lcMessageArgs::texts({L"RegionMode", L"lumRegionModePixelAlignedBoundingBox",
                              L"lumRegionModeAffineTransform"}));
  if (request.regionMode == lumRegionModeAffineTransform && request.region &&
      !query<ILumRectangleAffine>(request.region))
    throw lcCOMError(kRegionDoesNotFit, 0, kMessageNotAffineRectangle);
}

// Region mode 2 with a region: the input is the region straightened into new memory, one
// output pixel per input pixel along its sides, bilinear accurate, zero outside the image.
bool isAffineRequest(const lcImageRequest& request) {
  return request.regionMode == lumRegionModeAffineTransform && request.region != nullptr;
}

lcAffineSamplingParams affineParams(const lcPelFrame& whole, const lcImageRequest& request,
                                    int32_t mode) {
  return lcAffineParamsFor(lcAffineRegionInPixels(request.image, request.region, whole), whole,
                           {1.0, 1.0, mode});
}

template <class T>
lcPelBuffer<T> straightened(const lcPelBuffer<T>& whole, const lcImageRequest& request) {
  lcPelBuffer<T> result;
  lcAffineSample(whole, result,
                 affineParams(whole, request, lcAffineSamplingParams::kBilinearAccurate));
  return result;
}

lc3PlanePelBuffer straightened(const lc3PlanePelBuffer& whole, const lcImageRequest& request) {
  lc3PlanePelBuffer result;
  lcAffineSample24(whole, result,
                   affineParams(whole, request, lcAffineSamplingParams::kBilinearAccurate),
                   nullptr);
  return result;
}

// Cuts a frame that views the whole image (offset 0) to the region's pixel-aligned
// bounding box in the image's pixel space, clipped to the image.
void cutToRegion(lcPelFrame& frame, ILumImage* image, ILumRegion* region) {
  const ComPtr<ILumRegion> mapped = lcMapRegionIntoPixels(image, region);
  LONG x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  throwIfFailed(mapped->GetPixelAlignedBoundingBox(&x0, &y0, &x1, &y1));
  // Clipped by its edges, not by its size: a box far larger than the image (its edges
  // held at the ends of the 32-bit range) has a size no 32-bit integer holds.
  const lcPelRect inside = lcIntersect({x0, y0, x1, y1}, frame.window());
  if (inside.isEmpty()) throw lcCOMError(kWindowOutsideImage, 0);
  frame.setRootWindow(inside.x0, inside.y0, inside.width(), inside.height(), false);
}

LONG accessMode(const lcImageRequest& request) {
  return request.writeIntoInput ? lumPixelAccessReadWrite : lumPixelAccessRead;
}

template <class Memory>
void checkHasPixels(Memory* memory) {
  LONG width = 0, height = 0;
  throwIfFailed(memory->get_Width(&width));
  throwIfFailed(memory->get_Height(&height));
  if (width <= 0 || height <= 0) throw lcCOMError(kImageWithoutPixels, 0);
}

template <class Access>
ComPtr<Access> pixelAccess(ILumImage* image) {
  ComPtr<Access> access = query<Access>(image);
  if (!access)
    throw lcCOMError::withDescription(E_INVALIDARG,
                                      L"The image does not give access to its pixels.");
  return access;
}

// The view every format's input buffer starts from, cut to the region.
template <class Buffer>
Buffer finishInput(Buffer buffer, const lcImageRequest& request) {
  buffer.setXform(lcSelectedToPixels(request.image));
  if (isAffineRequest(request)) return straightened(buffer, request);
  if (request.region) cutToRegion(buffer, request.image, request.region);
  return buffer;
}

// Gives `image` the place of the result: the template's spaces, and the result's
// transform after the template's root-to-selected transform, less the result's offset.
void place(ILumImage* image, const lcPelFrame& result, ILumImage* templateImage) {
  lc2XformLinear pixelFromRoot = result.linearXform();
  const lc2Vector offset{double(result.offsetX()), double(result.offsetY())};
  if (templateImage == nullptr) {
    throwIfFailed(image->put_PixelFromRootTransform(
        lcTransformObject(
            lc2XformLinear(pixelFromRoot.matrix(), pixelFromRoot.translation() - offset))
            .get()));
    return;
  }
  ComPtr<ILumCoordSpaceTree> tree;
  lum::Bstr selected;
  ComPtr<ILumTransform2D> templatePixelFromRoot;
  throwIfFailed(
      templateImage->GetCoordinateInfo(tree.put(), selected.put(), templatePixelFromRoot.put()));
  ComPtr<ILumTransform2D> selectedFromRoot;
  throwIfFailed(templateImage->GetTransform(lum::Bstr(L".").get(), lum::Bstr(L"@").get(),
                                            selectedFromRoot.put()));
  pixelFromRoot = pixelFromRoot * lcRequireLinear(selectedFromRoot.get());
  throwIfFailed(image->SetCoordinateInfo(
      tree.get(), selected.get(),
      lcTransformObject(
          lc2XformLinear(pixelFromRoot.matrix(), pixelFromRoot.translation() - offset))
          .get()));
}

// Pixel memory over a result buffer's window, owned by a disposable root.
template <class Pel, class Init, class Memory>
ComPtr<Memory> memoryOver(const lcPelBuffer<Pel>& result, const CLSID& clsid) {
  auto memory = create<Init>(clsid);
  auto owner = lum::makeComObject<lcDisposableRoot<Pel>>(result.rootHandle());
  throwIfFailed(memory->Initialize(result.width(), result.height(), result.firstPelAddress(),
                                   static_cast<LONG>(result.pitch()),
                                   static_cast<IUnknown*>(owner.get())));
  return memory.template as<Memory>();
}

ComPtr<ILumImage8PixelMemory> memory8(const lcPelBuffer<uint8_t>& result) {
  return memoryOver<uint8_t, ILumImage8PixelMemoryInit, ILumImage8PixelMemory>(
      result, CLSID_LumImage8PixelMemory);
}

ComPtr<ILumImage16PixelMemory> memory16(const lcPelBuffer<uint16_t>& result) {
  return memoryOver<uint16_t, ILumImage16PixelMemoryInit, ILumImage16PixelMemory>(
      result, CLSID_LumImage16PixelMemory);
}

}  // namespace

ComPtr<ILumRegion> lcMapRegionIntoPixels(ILumImage* image, ILumRegion* region) {
  lum::Bstr space;
  throwIfFailed(region->get_SelectedSpaceName(space.put()));
  ComPtr<ILumTransform2D> toPixels;
  throwIfFailed(image->GetTransform(lum::Bstr(L"#").get(), space.get(), toPixels.put()));
  ComPtr<ILumRegion> mapped;
  throwIfFailed(region->Map(toPixels.get(), mapped.put()));
  ComPtr<ILumRegion> asRegion = query<ILumRegion>(mapped.get());
  if (!asRegion) throw lcCOMError(E_NOINTERFACE, 0);
  return asRegion;
}

// It must be linear: a kernel that resamples would otherwise work with the approximation
// at the origin before the output image could refuse it.
lc2XformCache lcSelectedToPixels(ILumImage* image) {
  ComPtr<ILumTransform2D> transform;
  throwIfFailed(image->GetTransform(lum::Bstr(L"#").get(), lum::Bstr(L".").get(), transform.put()));
  return lc2XformCache(lcMakeXform(lcRequireLinear(transform.get())));
}

ComPtr<ILumTransform2D> lcTransformObject(const lc2XformLinear& value) {
  auto object = create<ILumTransform2DLinear>(CLSID_LumTransform2DLinear);
  const lc2Matrix& m = value.matrix();
  throwIfFailed(
      object->SetValues(m.a(), m.b(), m.c(), m.d(), value.translation().x, value.translation().y));
  return object;
}

lc2XformLinear lcRequireLinear(ILumTransform2D* transform) {
  if (transform == nullptr) throw lcCOMError(E_NOINTERFACE, 0);
  VARIANT_BOOL linear = VARIANT_FALSE;
  throwIfFailed(transform->get_IsLinear(&linear));
  if (!linear) throw lcCOMError(kTransformNotLinear, 0);
  return linearAtOrigin(transform);
}

lcImageFormat lcChooseImageFormat(ILumImage* image, unsigned accepted) {
  if (image == nullptr) return lcImageFormatNone;
  if ((accepted & lcImageFormatGrey8) && query<ILumImage8Grey>(image)) return lcImageFormatGrey8;
  if ((accepted & lcImageFormatGrey16) && query<ILumImage16Grey>(image)) return lcImageFormatGrey16;
  if ((accepted & lcImageFormatPlanar24) && query<ILumImage24PlanarColor>(image))
    return lcImageFormatPlanar24;
  if ((accepted & lcImageFormatRange16) && query<ILumImage16Range>(image))
    return lcImageFormatRange16;
  return lcImageFormatNone;
}

lcPelBuffer<uint8_t> lcInputBuffer8(const lcImageRequest& request) {
  checkRequest(request);
  ComPtr<ILumImage8PixelMemory> memory;
  throwIfFailed(pixelAccess<ILumImage8PixelAccess>(request.image)
                    ->GetPixelMemory(accessMode(request), 0, 0, 0, 0, memory.put()));
  checkHasPixels(memory.get());
  return finishInput(
      lcPelBuffer<uint8_t>(lcMakeHandle<lcPelRootLumImage8PixelMemory>(memory.get())), request);
}

lcPelBuffer<uint16_t> lcInputBuffer16(const lcImageRequest& request) {
  checkRequest(request);
  ComPtr<ILumImage16PixelMemory> memory;
  throwIfFailed(pixelAccess<ILumImage16PixelAccess>(request.image)
                    ->GetPixelMemory(accessMode(request), 0, 0, 0, 0, memory.put()));
  checkHasPixels(memory.get());
  return finishInput(
      lcPelBuffer<uint16_t>(lcMakeHandle<lcPelRootLumImage16PixelMemory>(memory.get())), request);
}

lc3PlanePelBuffer lcInputBuffer24(const lcImageRequest& request) {
  checkRequest(request);
  ComPtr<ILumImage8PixelMemory> planes[3];
  throwIfFailed(pixelAccess<ILumImage24PlanarPixelAccess>(request.image)
                    ->GetPlanePixelMemories(accessMode(request), 0, 0, 0, 0, planes[0].put(),
                                            planes[1].put(), planes[2].put()));
  checkHasPixels(planes[0].get());
  lc3PlanePelBuffer buffer(lc3PlanePelRootLumImage24PlanarPixelMemory(
      planes[0].get(), planes[1].get(), planes[2].get()));
  LONG colorSpace = lumColorSpaceRGB;
  throwIfFailed(query<ILumImage24PlanarColor>(request.image)->get_ColorSpace(&colorSpace));
  buffer.setColorSpace(colorSpace);
  return finishInput(std::move(buffer), request);
}

lcPelBufferRange16 lcInputBufferRange16(const lcImageRequest& request) {
  checkRequest(request);
  ComPtr<ILumImage16PixelMemory> pixels;
  ComPtr<ILumImage8PixelMemory> mask;
  throwIfFailed(pixelAccess<ILumImage16RangePixelAccess>(request.image)
                    ->GetPixelMemory(accessMode(request), 0, 0, 0, 0, pixels.put(), mask.put()));
  checkHasPixels(pixels.get());
  if (isAffineRequest(request)) {
    // Nearest samples, so that no invalid pixel's value leaks into a valid one; samples
    // outside the image read a mask of 0 and are invalid.
    lcPelBuffer<uint16_t> whole(lcMakeHandle<lcPelRootLumImage16PixelMemory>(pixels.get()));
    whole.setXform(lcSelectedToPixels(request.image));
    lcPelBuffer<uint8_t> wholeMask(lcMakeHandle<lcPelRootLumImage8PixelMemory>(mask.get()));
    wholeMask.takeViewOf(whole);
    const lcAffineSamplingParams params =
        affineParams(whole, request, lcAffineSamplingParams::kNearest);
    lcPelBuffer<uint16_t> pels;
    lcPelBuffer<uint8_t> valid;
    lcAffineSample(whole, pels, params);
    lcAffineSample(wholeMask, valid, params);
    return lcPelBufferRange16(std::move(pels), std::move(valid));
  }
  lcPelBuffer<uint16_t> pels = finishInput(
      lcPelBuffer<uint16_t>(lcMakeHandle<lcPelRootLumImage16PixelMemory>(pixels.get())), request);
  lcPelBuffer<uint8_t> maskView(lcMakeHandle<lcPelRootLumImage8PixelMemory>(mask.get()));
  maskView.takeViewOf(pels);
  return lcPelBufferRange16(std::move(pels), std::move(maskView));
}

ComPtr<ILumImage> lcOutputImage8(const lcPelBuffer<uint8_t>& result, ILumImage* templateImage) {
  auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
  if (result.isBound()) throwIfFailed(image->put_PixelMemory(memory8(result).get()));
  place(image.get(), result, templateImage);
  return image.as<ILumImage>();
}

ComPtr<ILumImage> lcOutputImage16(const lcPelBuffer<uint16_t>& result, ILumImage* templateImage) {
  auto image = create<ILumImage16Grey>(CLSID_LumImage16Grey);
  if (result.isBound()) throwIfFailed(image->put_PixelMemory(memory16(result).get()));
  place(image.get(), result, templateImage);
  return image.as<ILumImage>();
}

ComPtr<ILumImage> lcOutputImage24(const lc3PlanePelBuffer& result, ILumImage* templateImage) {
  const LONG colorSpace = result.colorSpace();
  if (colorSpace != lumColorSpaceRGB && colorSpace != lumColorSpaceHSI)
    throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(L"ColorSpace"));
  auto image = create<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
  if (result.isBound()) {
    ComPtr<ILumImage8PixelMemory> planes[3];
    for (int i = 0; i < 3; ++i)
      planes[i] = memory8(result.plane(i));
    throwIfFailed(image->SetPlanePixelMemories(planes[0].get(), planes[1].get(), planes[2].get(),
                                               colorSpace));
  }
  place(image.get(), result, templateImage);
  throwIfFailed(image->put_ColorSpace(colorSpace));  // after the transform, as images expect
  return image.as<ILumImage>();
}

ComPtr<ILumImage> lcOutputImageRange16(const lcPelBufferRange16& result, ILumImage* templateImage) {
  auto image = create<ILumImage16Range>(CLSID_LumImage16Range);
  if (result.pels().isBound())
    throwIfFailed(
        image->SetPixelMemory(memory16(result.pels()).get(), memory8(result.mask()).get()));
  place(image.get(), result.pels(), templateImage);
  return image.as<ILumImage>();
}
