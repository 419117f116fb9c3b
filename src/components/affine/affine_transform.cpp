#include "components/affine/affine_transform.h"

#include <algorithm>

#include "components/bridge/affine_input.h"
#include "components/bridge/image_bridge.h"

namespace {

constexpr uint32_t kMessageOutOfRange = 0x80048100;
constexpr uint32_t kMessageNoOverlap = 0x80048122;

// The largest value of each 16-bit depth code (1 to 5).
LONG depthMaximum(ILumImage* image) {
  ComPtr<ILumImage16Grey> grey;
  image->QueryInterface(iid_of<ILumImage16Grey>, grey.putVoid());
  LONG depth = 0;
  if (grey) throwIfFailed(grey->get_PixelDepth(&depth));
  constexpr LONG kMaxima[] = {1023, 4095, 16383, 65535, 255};
  if (depth < 1 || depth > 5) throw lcCOMError(kUnsupportedPixelFormat, 0);
  return kMaxima[depth - 1];
}

void requireFillValue(const wchar_t* name, LONG value, LONG maximum, const wchar_t* maximumText) {
  if (value < 0 || value > maximum)
    throwInvalidArgument(kMessageOutOfRange, lcMessageArgs::texts({name, L"0", maximumText}));
}

// Every pixel whose mask is below 255 takes `value`.
template <class T>
void fill(lcPelBuffer<T>& out, const lcPelBuffer<uint8_t>& mask, LONG value) {
  const lcPelRows<T> rows = out.rows();
  const lcPelRows<const uint8_t> inside = mask.rows();
  for (int32_t y = 0; y < rows.height; ++y)
    for (int32_t x = 0; x < rows.width; ++x)
      if (inside[y][x] < 255) rows[y][x] = static_cast<T>(value);
}

// One format's path through steps shared by all: the rectangle, the clip test, the
// sampling with or without a mask, the fill and the images handed out.
struct Run {
  const lcAffineTransformFields& p;
  ILumImage* input;
  ILumRegion* region;
  ILumImage** outputMask;
  ILumImage** output;

  template <class Buffer, class Sample, class Fill, class Out>
  void operator()(const Buffer& whole, const Sample& sample, const Fill& fillOutput,
                  const Out& makeOutput) const {
    const lcAffineRectangle pixelRect = lcAffineRegionInPixels(input, region, whole);
    const lcAffineSamplingParams params =
        lcAffineParamsFor(pixelRect, whole, {p.ScalingX, p.ScalingY, p.SamplingMode});
    const bool clipped = lcAffineIsClipped(params, whole);
    if (clipped && p.ClipMode == lumAffineTransformClipModeError) {
      const bool overlaps = !lcIntersect(pixelRect.pixelWindow(), whole.bufferRect()).isEmpty();
      throw lcCOMError(kWindowOutsideImage, 0, overlaps ? 0 : kMessageNoOverlap);
    }
    const bool filling = clipped && p.ClipMode == lumAffineTransformClipModeFill;
    Buffer out;
    lcPelBuffer<uint8_t> mask;
    sample(whole, out, params, clipped && (filling || outputMask) ? &mask : nullptr);
    if (filling) fillOutput(out, mask);
    ComPtr<ILumImage> image = makeOutput(out);
    if (outputMask) {
      if (!mask.isBound()) {
        mask.allocate(params.numSamplesX(), params.numSamplesY());
        mask.setXform(out.xform());
        const lcPelRows<uint8_t> rows = mask.rows();
        for (int32_t y = 0; y < rows.height; ++y)
          std::fill_n(rows[y], rows.width, uint8_t{255});
      }
      *outputMask = lcOutputImage8(mask, input).detach();
    }
    *output = image.detach();
  }
};

}  // namespace

HRESULT CLumAffineTransform::Execute(ILumImage* input, ILumRegion* region, ILumImage** outputMask,
                                     ILumImage** output) {
  if (outputMask) *outputMask = nullptr;
  if (HRESULT hr = lcClearOutPointers(output); FAILED(hr)) return hr;
  return callBoundary(context(L"Execute"), [&] {
    lcAffineTransformFields p;
    {
      lcLockGuard guard(core().lock());
      p = static_cast<const lcAffineTransformFields&>(*this);
    }
    if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
    const Run run{p, input, region, outputMask, output};
    const lcImageRequest whole{input, lumRegionModePixelAlignedBoundingBox, nullptr};
    const auto sample = [](const auto& src, auto& dst, const lcAffineSamplingParams& params,
                           lcPelBuffer<uint8_t>* mask) { lcAffineSample(src, dst, params, mask); };
    switch (lcChooseImageFormat(input,
                                lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24)) {
      case lcImageFormatGrey8:
        return run(
            lcInputBuffer8(whole), sample,
            [&](lcPelBuffer<uint8_t>& out, const lcPelBuffer<uint8_t>& mask) {
              requireFillValue(L"ClipFillValue", p.ClipFillValue, 255, L"255");
              fill(out, mask, p.ClipFillValue);
            },
            [&](const lcPelBuffer<uint8_t>& out) { return lcOutputImage8(out, input); });
      case lcImageFormatGrey16:
        return run(
            lcInputBuffer16(whole), sample,
            [&](lcPelBuffer<uint16_t>& out, const lcPelBuffer<uint8_t>& mask) {
              const LONG maximum = depthMaximum(input);
              requireFillValue(L"ClipFillValue", p.ClipFillValue, maximum,
                               std::to_wstring(maximum).c_str());
              fill(out, mask, p.ClipFillValue);
            },
            [&](const lcPelBuffer<uint16_t>& out) {
              ComPtr<ILumImage> image = lcOutputImage16(out, input);
              ComPtr<ILumImage16Grey> from, to;
              input->QueryInterface(iid_of<ILumImage16Grey>, from.putVoid());
              image->QueryInterface(iid_of<ILumImage16Grey>, to.putVoid());
              LONG depth = lumPixelDepth16Bits;
              if (from && to) throwIfFailed(from->get_PixelDepth(&depth));
              if (to) throwIfFailed(to->put_PixelDepth(depth));
              return image;
            });
      case lcImageFormatPlanar24:
        return run(
            lcInputBuffer24(whole),
            [](const lc3PlanePelBuffer& src, lc3PlanePelBuffer& dst,
               const lcAffineSamplingParams& params,
               lcPelBuffer<uint8_t>* mask) { lcAffineSample24(src, dst, params, mask); },
            [&](lc3PlanePelBuffer& out, const lcPelBuffer<uint8_t>& mask) {
              const LONG values[] = {p.ClipFillPlane0Value, p.ClipFillPlane1Value,
                                     p.ClipFillPlane2Value};
              const wchar_t* names[] = {L"ClipFillPlane0Value", L"ClipFillPlane1Value",
                                        L"ClipFillPlane2Value"};
              for (int i = 0; i < 3; ++i)
                requireFillValue(names[i], values[i], 255, L"255");
              for (int i = 0; i < 3; ++i) {
                lcPelBuffer<uint8_t> plane = out.plane(i);
                fill(plane, mask, values[i]);
              }
            },
            [&](const lc3PlanePelBuffer& out) { return lcOutputImage24(out, input); });
      default:
        throw lcCOMError(kUnsupportedPixelFormat, 0);
    }
  });
}
