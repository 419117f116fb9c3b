#include "components/orient/missing_pixel.h"

#include "ip/orient/missing_pixel.h"

namespace {

constexpr uint32_t kMessageRegionModeNotSupported = 0x80048115;

// The operator's enumerations in the kernel's codes.
lcMissingPixelParams kernelParams(const lcMissingPixelOperatorParams& p) {
  int32_t computation = 1;  // interpolation
  switch (p.ValueComputation) {
    case lumIPOneImageMissingPixelValueComputationNeighborMinimum:
      computation = 2;
      break;
    case lumIPOneImageMissingPixelValueComputationNeighborMaximum:
      computation = 3;
      break;
    case lumIPOneImageMissingPixelValueComputationGlobal:
      computation = 4;
      break;
    default:
      break;
  }
  return {p.Direction, computation, p.GlobalValueMode, p.FixedGlobalValue, {0, 1, 1, 1}};
}

// A failed kernel status as this library's result code with its own message.
lcCOMError kernelError(LumIPErrConstants code) {
  return lcCOMError(HRESULT(code), 2, uint32_t(code));
}

}  // namespace

HRESULT CLumIPOneImageMissingPixel::Execute(ILumImage* input, LONG regionMode, ILumRegion* region,
                                            ILumImage** output) {
  if (HRESULT hr = lcClearOutPointers(output); FAILED(hr)) return hr;
  const bool refused = regionMode != lumRegionModePixelAlignedBoundingBox && input != nullptr &&
                       lcChooseImageFormat(input, kFrame.acceptedFormats) != lcImageFormatNone;
  if (!refused) return lcIPOneImageOperatorImpl::Execute(input, regionMode, region, output);
  return callBoundary(context(L"Execute"), [&] {
    const wchar_t* mode = regionMode == lumRegionModeAffineTransform
                              ? L"AffineTransform"
                              : L"PixelAlignedBoundingBoxAdjustMask";
    throwInvalidArgument(kMessageRegionModeNotSupported,
                         lcMessageArgs::texts({L"RegionMode", mode}));
  });
}

void CLumIPOneImageMissingPixel::run(const lcPelBufferRange16& source, lcPelBufferRange16& result,
                                     const Parameters& p) {
  using Status = lcMissingPixelStatus;
  switch (lcFillMissingPixels(source, result, kernelParams(p))) {
    case Status::Ok:
      return;
    case Status::InvalidArgument:
      throw lcCOMError(E_INVALIDARG, 2);
    case Status::InvalidDirection:
      throw kernelError(e_LumIP_MissingPixel_InvalidDirection);
    case Status::InvalidValueComputation:
      throw kernelError(e_LumIP_MissingPixel_InvalidValueComputation);
    case Status::InvalidGlobalValueMode:
      throw kernelError(e_LumIP_MissingPixel_InvalidGlobalValueMode);
    case Status::InvalidSmoothing:
      throw kernelError(e_LumIP_MissingPixel_InvalidSmoothing);
    case Status::FixedGlobalValueOutsideDstRange:
      throw kernelError(e_LumIP_MissingPixel_FixedGlobalValueOutsideDstRange);
    case Status::BoundDestRangeImage:
      throw kernelError(e_LumIP_MissingPixel_BoundDestRangeImage);
  }
  throw lcCOMError(HRESULT(0x8004C004), 2);  // a status this operator does not know
}
