#include "components/copyregion/copy_region.h"

#include <cmath>
#include <limits>
#include <string>

#include "components/bridge/image_bridge.h"
#include "components/bridge/region_mask.h"
#include "ip/copyregion/copy_runs.h"
#include "lumxip/ip/result_codes.h"

namespace {

lc2XformLinear translation(int32_t dx, int32_t dy) {
  return lc2XformLinear(lc2Matrix(), lc2Vector{double(dx), double(dy)});
}

lc2XformLinear transformOf(ILumImage* image, const wchar_t* target, const wchar_t* source) {
  ComPtr<ILumTransform2D> transform;
  throwIfFailed(
      image->GetTransform(lum::Bstr(target).get(), lum::Bstr(source).get(), transform.put()));
  return lcRequireLinear(transform.get());
}

// The largest value a pixel of `image` (in `format`) may take.
LONG pelMaximum(ILumImage* image, lcImageFormat format) {
  if (format != lcImageFormatGrey16) return 255;
  ComPtr<ILumImage16Grey> grey;
  image->QueryInterface(iid_of<ILumImage16Grey>, grey.putVoid());
  LONG depth = lumPixelDepth16Bits;
  if (grey) throwIfFailed(grey->get_PixelDepth(&depth));
  switch (depth) {
    case lumPixelDepth10Bits:
      return 1023;
    case lumPixelDepth12Bits:
      return 4095;
    case lumPixelDepth14Bits:
      return 16383;
    case lumPixelDepth8Bits:
      return 255;
    default:
      return 65535;
  }
}

void checkFill(const wchar_t* name, LONG value, LONG maximum) {
  if (value >= 0 && value <= maximum) return;
  const std::wstring high = std::to_wstring(maximum);
  throwInvalidArgument(kMessageOutOfRange, lcMessageArgs::texts({name, L"0", high.c_str()}));
}

// The fill values in use, checked against the output's range.
void checkFills(const lcCopyRegionFields& p, lcImageFormat format, LONG maximum) {
  if (format == lcImageFormatPlanar24) {
    if (p.FillRegion.value) {
      checkFill(L"FillRegionPlane0Value", p.FillRegionPlane0Value, maximum);
      checkFill(L"FillRegionPlane1Value", p.FillRegionPlane1Value, maximum);
      checkFill(L"FillRegionPlane2Value", p.FillRegionPlane2Value, maximum);
    }
    if (p.FillBoundingBox.value) {
      checkFill(L"FillBoundingBoxPlane0Value", p.FillBoundingBoxPlane0Value, maximum);
      checkFill(L"FillBoundingBoxPlane1Value", p.FillBoundingBoxPlane1Value, maximum);
      checkFill(L"FillBoundingBoxPlane2Value", p.FillBoundingBoxPlane2Value, maximum);
    }
    return;
  }
  if (p.FillRegion.value) checkFill(L"FillRegionValue", p.FillRegionValue, maximum);
  if (p.FillBoundingBox.value) checkFill(L"FillBoundingBoxValue", p.FillBoundingBoxValue, maximum);
}

template <class T>
lcCopyRegionFill<T> fillOf(const lcCopyRegionFields& p, LONG regionValue, LONG boxValue) {
  return {p.FillRegion.value, static_cast<T>(regionValue), p.FillBoundingBox.value,
          static_cast<T>(boxValue)};
}

LONG imageSize(ILumImage* image, HRESULT (ILumImage::*get)(LONG*)) {
  LONG size = 0;
  throwIfFailed((image->*get)(&size));
  return size;
}

// Where the copy goes. Input pixel p lands on destination pixel p + shift; `copied` is
// the part of the region's window (input pixels) that both images hold.
struct Placement {
  lcPelRect copied;
  int32_t shiftX = 0, shiftY = 0;
  lcRegionMask mask;
  bool sourceClipped = false, destinationClipped = false;
};

int32_t checkedShift(double value) {
  if (!(std::abs(value) < double(std::numeric_limits<int32_t>::max() / 2)))
    throw lcCOMError(e_LumIP_NoRegionOverlap, 0);
  return static_cast<int32_t>(std::lround(value));  // halves away from zero
}

Placement place(const lcCopyRegionFields& p, ILumImage* input, ILumRegion* region,
                ILumImage* destination) {
  Placement at;
  const lcPelRect inputRect{0, 0, imageSize(input, &ILumImage::get_Width),
                            imageSize(input, &ILumImage::get_Height)};
  if (inputRect.isEmpty()) throw lcCOMError(kImageWithoutPixels, 0);
  lcPelRect window = inputRect;
  if (region != nullptr) {
    lcRegionToMask(input, inputRect, region, p.RegionMode, &at.mask);
    window = at.mask.window;
  }
  at.copied = lcIntersect(window, inputRect);
  at.sourceClipped = at.copied != window;
  if (destination == nullptr) {
    at.shiftX = -at.copied.x0, at.shiftY = -at.copied.y0;  // onto a new image's corner
    return at;
  }
  if (p.ImageAlignmentEnabled.value) {
    const lc2Vector from = lcSelectedToPixels(input).linear().mapPoint(
        {p.InputImageAlignmentX, p.InputImageAlignmentY});
    const lc2Vector to =
        lcSelectedToPixels(destination)
            .linear()
            .mapPoint({p.DestinationImageAlignmentX, p.DestinationImageAlignmentY});
    at.shiftX = checkedShift(to.x - from.x), at.shiftY = checkedShift(to.y - from.y);
  }
  const lcPelRect destinationRect{0, 0, imageSize(destination, &ILumImage::get_Width),
                                  imageSize(destination, &ILumImage::get_Height)};
  if (destinationRect.isEmpty()) throw lcCOMError(kImageWithoutPixels, 0);
  const lcPelRect reachable{destinationRect.x0 - at.shiftX, destinationRect.y0 - at.shiftY,
                            destinationRect.x1 - at.shiftX, destinationRect.y1 - at.shiftY};
  const lcPelRect kept = lcIntersect(at.copied, reachable);
  at.destinationClipped = kept != at.copied;
  at.copied = kept;
  return at;
}

// The input's pixels over `copied` (in their own memory when they share the
// destination's, which is written while they are read).
template <class Buffer>
Buffer sourceOver(Buffer input, const lcPelRect& copied, const lcPelFrame& destination) {
  input.setBufferWindow(copied);
  if (!input.sharesRootWith(destination)) return input;
  Buffer copy;
  copy.allocate(copied.width(), copied.height(), copied.x0, copied.y0);
  if constexpr (requires { copy.plane(0); }) {
    for (int plane = 0; plane < 3; ++plane) {
      lcPelBuffer<uint8_t> to = copy.plane(plane);
      lcCopyRegionRuns(input.plane(plane), to, nullptr, {});
    }
  } else {
    lcCopyRegionRuns(input, copy, nullptr, {});
  }
  return copy;
}

// The destination's pixels the copy writes: the destination's own, or a new buffer of
// the copied window placed where the input's pixels lie.
template <class Buffer, class Wrap>
Buffer targetOver(ILumImage* destination, const Buffer& input, const Placement& at,
                  const Wrap& wrap) {
  if (destination != nullptr) {
    Buffer target = wrap({destination, lumRegionModePixelAlignedBoundingBox, nullptr, true});
    target.setOffset(0, 0);
    target.setBufferWindow({at.copied.x0 + at.shiftX, at.copied.y0 + at.shiftY,
                            at.copied.x1 + at.shiftX, at.copied.y1 + at.shiftY});
    return target;
  }
  Buffer target;
  target.allocate(at.copied.width(), at.copied.height(), at.copied.x0, at.copied.y0);
  target.setXform(input.xform());
  if constexpr (requires { target.plane(0); }) {
    target.setColorSpace(input.colorSpace());
    for (int plane = 0; plane < 3; ++plane) {
      lcPelBuffer<uint8_t> view = target.plane(plane);
      lcCopyRegionRuns(view, view, nullptr, lcCopyRegionFill<uint8_t>{true, 0, true, 0});
    }
  } else {
    using Pel = typename Buffer::Pel;
    lcCopyRegionRuns(target, target, nullptr, lcCopyRegionFill<Pel>{true, 0, true, 0});
  }
  return target;
}

template <class T>
void writePlane(const lcPelBuffer<T>& source, lcPelBuffer<T>& target, const Placement& at,
                const lcCopyRegionFill<T>& fill) {
  const lcRLEBuffer* runs = at.mask.needsMask ? &at.mask.encoding : nullptr;
  lcCopyRegionRuns(source, target, runs, fill);
}

// The new image's placement and the destination's coordinate spaces as SpaceTreeMode says.
void giveSpaces(const lcCopyRegionFields& p, ILumImage* input, ILumImage* destination,
                const Placement& at) {
  const LONG mode = p.SpaceTreeMode;
  if (mode == lumCopyRegionSpaceTreeModeUseDestination) return;
  const bool fromInput = mode == lumCopyRegionSpaceTreeModeCopyInput ||
                         mode == lumCopyRegionSpaceTreeModeCopyInputMergeDestination;
  ILumImage* base = fromInput ? input : destination;
  ComPtr<ILumCoordSpaceTree> tree;
  lum::Bstr selected;
  ComPtr<ILumTransform2D> pixelFromRoot;
  throwIfFailed(base->GetCoordinateInfo(tree.put(), selected.put(), pixelFromRoot.put()));
  lc2XformLinear destinationFromRoot = lcRequireLinear(pixelFromRoot.get());
  if (fromInput) destinationFromRoot = translation(at.shiftX, at.shiftY) * destinationFromRoot;
  if (mode != lumCopyRegionSpaceTreeModeCopyInput) {
    // The bridge maps the other image's root into this tree's root through the pixels.
    ILumImage* other = fromInput ? destination : input;
    const lc2XformLinear otherToBase =
        fromInput ? translation(-at.shiftX, -at.shiftY) : translation(at.shiftX, at.shiftY);
    const lc2XformLinear merged =
        transformOf(base, L"@", L"#") * otherToBase * transformOf(other, L"#", L"@");
    ComPtr<ILumCoordSpaceTree> otherTree;
    throwIfFailed(other->get_CoordSpaceTree(otherTree.put()));
    const wchar_t* name = p.MergedSpaceTreeName.get() ? p.MergedSpaceTreeName.get() : L"";
    throwIfFailed(tree->AttachTree(lum::Bstr(L"@").get(), lum::Bstr(name).get(),
                                   lcTransformObject(merged).get(), otherTree.get()));
  }
  throwIfFailed(destination->SetCoordinateInfo(tree.get(), selected.get(),
                                               lcTransformObject(destinationFromRoot).get()));
}

// The region moved as the copy moved its pixels, in the selected space of `output`,
// whose pixel p shows input pixel p - (shiftX, shiftY).
ComPtr<ILumRegion> regionInOutput(ILumImage* input, ILumRegion* region, ILumImage* output,
                                  int32_t shiftX, int32_t shiftY) {
  lum::Bstr space, outputSpace;
  throwIfFailed(region->get_SelectedSpaceName(space.put()));
  throwIfFailed(output->get_SelectedSpaceName(outputSpace.put()));
  const lc2XformLinear map = transformOf(output, L".", L"#") * translation(shiftX, shiftY) *
                             transformOf(input, L"#", space.get() ? space.get() : L"");
  ComPtr<ILumRegion> mapped;
  throwIfFailed(region->Map(lcTransformObject(map).get(), mapped.put()));
  throwIfFailed(mapped->put_SelectedSpaceName(outputSpace.get()));
  return mapped;
}

template <class Buffer, class Wrap, class Out, class Write>
ComPtr<ILumImage> copyPixels(const Wrap& wrap, const Out& makeOutput, const Write& write,
                             ILumImage* input, ILumImage* destination, const Placement& at) {
  const Buffer whole = wrap({input, lumRegionModePixelAlignedBoundingBox, nullptr});
  Buffer target = targetOver(destination, whole, at, wrap);
  const Buffer source = sourceOver(whole, at.copied, target);
  write(source, target);
  if (destination != nullptr) return ComPtr<ILumImage>(destination);
  return makeOutput(target, input);
}

}  // namespace

lcCopyRegionReport CLumCopyRegion::run(const lcCopyRegionFields& p, ILumImage* input,
                                       ILumRegion* region, ILumImage* destination,
                                       bool writePixels) {
  if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
  constexpr unsigned kFormats = lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24;
  const lcImageFormat format = lcChooseImageFormat(input, kFormats);
  if (format == lcImageFormatNone ||
      (destination != nullptr && lcChooseImageFormat(destination, kFormats) != format))
    throw lcCOMError(kUnsupportedPixelFormat, 0);
  checkFills(p, format, pelMaximum(destination != nullptr ? destination : input, format));
  const Placement at = place(p, input, region, destination);

  lcCopyRegionReport report;
  report.sourceClipped = at.sourceClipped;
  report.destinationClipped = at.destinationClipped;
  if (writePixels && at.copied.isEmpty()) {  // the destination holds none of the window
    if (destination == nullptr) throw lcCOMError(e_LumIP_NoRegionOverlap, 0);
    report.output = ComPtr<ILumImage>(destination);
  } else if (writePixels) {
    switch (format) {
      case lcImageFormatGrey8:
        report.output = copyPixels<lcPelBuffer<uint8_t>>(
            &lcInputBuffer8, &lcOutputImage8,
            [&](const auto& from, auto& to) {
              writePlane(from, to, at,
                         fillOf<uint8_t>(p, p.FillRegionValue, p.FillBoundingBoxValue));
            },
            input, destination, at);
        break;
      case lcImageFormatGrey16:
        report.output = copyPixels<lcPelBuffer<uint16_t>>(
            &lcInputBuffer16, &lcOutputImage16,
            [&](const auto& from, auto& to) {
              writePlane(from, to, at,
                         fillOf<uint16_t>(p, p.FillRegionValue, p.FillBoundingBoxValue));
            },
            input, destination, at);
        break;
      default:
        report.output = copyPixels<lc3PlanePelBuffer>(
            &lcInputBuffer24, &lcOutputImage24,
            [&](const auto& from, auto& to) {
              const LONG regionFill[3] = {p.FillRegionPlane0Value, p.FillRegionPlane1Value,
                                          p.FillRegionPlane2Value};
              const LONG boxFill[3] = {p.FillBoundingBoxPlane0Value, p.FillBoundingBoxPlane1Value,
                                       p.FillBoundingBoxPlane2Value};
              for (int plane = 0; plane < 3; ++plane) {
                lcPelBuffer<uint8_t> target = to.plane(plane);
                writePlane(from.plane(plane), target, at,
                           fillOf<uint8_t>(p, regionFill[plane], boxFill[plane]));
              }
            },
            input, destination, at);
        break;
    }
    if (destination != nullptr) giveSpaces(p, input, destination, at);
  }
  // A new image lies on the input's own pixels in the input's spaces: the region stays.
  if (region != nullptr)
    report.destinationRegion =
        destination != nullptr ? regionInOutput(input, region, destination, at.shiftX, at.shiftY)
                               : regionInOutput(input, region, input, 0, 0);
  return report;
}

HRESULT CLumCopyRegion::Execute(ILumImage* input, ILumRegion* region, ILumImage* destination,
                                VARIANT_BOOL* sourceClipped, VARIANT_BOOL* destinationClipped,
                                ILumRegion** destinationRegion, ILumImage** output) {
  if (HRESULT hr = lcClearOutPointers(output); FAILED(hr)) return hr;
  if (sourceClipped) *sourceClipped = VARIANT_FALSE;
  if (destinationClipped) *destinationClipped = VARIANT_FALSE;
  if (destinationRegion) *destinationRegion = nullptr;
  return callBoundary(context(L"Execute"), [&] {
    lcCopyRegionFields settings;
    {
      lcLockGuard guard(core().lock());
      settings = static_cast<const lcCopyRegionFields&>(*this);
    }
    lcCopyRegionReport report = run(settings, input, region, destination, true);
    if (sourceClipped) *sourceClipped = report.sourceClipped ? VARIANT_TRUE : VARIANT_FALSE;
    if (destinationClipped)
      *destinationClipped = report.destinationClipped ? VARIANT_TRUE : VARIANT_FALSE;
    if (destinationRegion) *destinationRegion = report.destinationRegion.detach();
    *output = report.output.detach();
  });
}

HRESULT CLumCopyRegion::ComputeDestinationRegion(ILumImage* input, ILumRegion* region,
                                                 ILumImage* destination,
                                                 VARIANT_BOOL* sourceClipped,
                                                 VARIANT_BOOL* destinationClipped,
                                                 ILumRegion** destinationRegion) {
  if (sourceClipped) *sourceClipped = VARIANT_FALSE;
  if (destinationClipped) *destinationClipped = VARIANT_FALSE;
  if (destinationRegion) *destinationRegion = nullptr;
  return callBoundary(context(L"ComputeDestinationRegion"), [&] {
    lcCopyRegionFields settings;
    {
      lcLockGuard guard(core().lock());
      settings = static_cast<const lcCopyRegionFields&>(*this);
    }
    lcCopyRegionReport report = run(settings, input, region, destination, false);
    if (sourceClipped) *sourceClipped = report.sourceClipped ? VARIANT_TRUE : VARIANT_FALSE;
    if (destinationClipped)
      *destinationClipped = report.destinationClipped ? VARIANT_TRUE : VARIANT_FALSE;
    if (destinationRegion) *destinationRegion = report.destinationRegion.detach();
  });
}
