#include "components/bridge/affine_input.h"

#include <cmath>

#include "components/bridge/image_bridge.h"
#include "components/framework/com_error.h"
#include "lumxip/ip/result_codes.h"

namespace {

constexpr uint32_t kMessageNotAffineRectangle = 0x8004E301;
constexpr double kLargestSide = 32767;

// Rounded half away from zero; a size beyond the 32-bit range stays beyond 32767.
double roundedSize(double value) {
  return std::trunc(value < 0 ? value - 0.5 : value + 0.5);
}

}  // namespace

lcAffineRectangle lcAffineRegionInPixels(ILumImage* image, ILumRegion* region,
                                         const lcPelFrame& buffer) {
  if (region == nullptr) {
    const lcPelRect window = buffer.bufferRect();
    return lcAffineRectangle(lc2XformLinear(lc2Matrix(window.width(), 0, 0, window.height()),
                                            {double(window.x0), double(window.y0)}));
  }
  ComPtr<ILumRectangleAffine> affine;
  region->QueryInterface(iid_of<ILumRectangleAffine>, affine.putVoid());
  if (!affine) throw lcCOMError(kRegionDoesNotFit, 0, kMessageNotAffineRectangle);
  const ComPtr<ILumRegion> mapped = lcMapRegionIntoPixels(image, region);
  ComPtr<ILumRectangleAffine> mappedAffine;
  mapped->QueryInterface(iid_of<ILumRectangleAffine>, mappedAffine.putVoid());
  if (!mappedAffine) throw lcCOMError(kRegionDoesNotFit, 0, kMessageNotAffineRectangle);
  ComPtr<ILumTransform2DLinear> unitSquare;
  throwIfFailed(mappedAffine->GetUnitSquareTransform(unitSquare.put()));
  return lcAffineRectangle(lcRequireLinear(unitSquare.as<ILumTransform2D>().get()));
}

lcAffineSamplingParams lcAffineParamsFor(const lcAffineRectangle& pixelRect,
                                         const lcPelFrame& buffer, const lcAffineRequest& request) {
  const double width = roundedSize(pixelRect.sideXLength() * request.scalingX);
  const double height = roundedSize(pixelRect.sideYLength() * request.scalingY);
  if (!(width >= 1) || !(height >= 1)) throw lcCOMError(e_LumIP_AffineTransform_ZeroSize, 0);
  const bool accurate = request.mode == lcAffineSamplingParams::kBilinearAccurate;
  if ((!accurate && (width > kLargestSide || height > kLargestSide)) || width > INT32_MAX ||
      height > INT32_MAX)
    throw lcCOMError(e_LumIP_AffineTransform_OverSize, 0);
  const lcAffineRectangle exact(pixelRect.centre(), width / request.scalingX,
                                height / request.scalingY, pixelRect.rotation(), pixelRect.skew());
  const lc2XformLinear clientFromPixels = buffer.linearXform().inverse();
  return lcAffineSamplingParams(lcAffineRectangle(clientFromPixels * exact.unitSquare()),
                                static_cast<int32_t>(width), static_cast<int32_t>(height),
                                request.mode);
}

bool lcAffineSample24(const lc3PlanePelBuffer& src, lc3PlanePelBuffer& dst,
                      const lcAffineSamplingParams& params, lcPelBuffer<uint8_t>* mask) {
  lcPelBuffer<uint8_t> planes[3];
  bool clipped = false;
  for (int i = 0; i < 3; ++i)
    clipped |= lcAffineSample(src.plane(i), planes[i], params, i == 0 ? mask : nullptr);
  dst = lc3PlanePelBuffer::join(planes[0], planes[1], planes[2]);
  dst.setColorSpace(src.colorSpace());
  return clipped;
}
