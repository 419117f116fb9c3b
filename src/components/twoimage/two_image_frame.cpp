#include "components/twoimage/two_image_frame.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// How far a buffer's coordinates lie from its root's pixels (buffer = root + shift).
lc2Vector shiftOf(const lcPelFrame& frame) {
  return {double(frame.offsetX() - frame.window().x0), double(frame.offsetY() - frame.window().y0)};
}

lc2XformLinear translation(const lc2Vector& by) {
  return lc2XformLinear(lc2Matrix(), by);
}

lc2XformLinear transformOf(ILumImage* image, const wchar_t* target, const wchar_t* source) {
  ComPtr<ILumTransform2D> transform;
  throwIfFailed(
      image->GetTransform(lum::Bstr(target).get(), lum::Bstr(source).get(), transform.put()));
  return lcRequireLinear(transform.get());
}

int32_t checkedShift(double value) {
  if (!(std::abs(value) < double(std::numeric_limits<int32_t>::max())))
    throw lcCOMError(e_LumIP_NoRegionOverlap, 0);
  return lcRoundAlignment(value);
}

}  // namespace

int32_t lcRoundAlignment(double value) {
  return static_cast<int32_t>(value >= 0 ? value + 0.5 : value - 0.5);
}

void lcPlaceSecondImage(const lcTwoImageSetup& setup, const lcPelFrame& a, lcPelFrame& b) {
  if (!setup.alignmentEnabled) {
    b.setOffset(a.offsetX(), a.offsetY());
    return;
  }
  const lc2Vector pA = a.linearXform().mapPoint({setup.alignAX, setup.alignAY});
  const lc2Vector pB = b.linearXform().mapPoint({setup.alignBX, setup.alignBY});
  // A shift beyond the 32-bit range leaves B nowhere near A.
  const int64_t x = int64_t{b.offsetX()} + checkedShift(pA.x - pB.x);
  const int64_t y = int64_t{b.offsetY()} + checkedShift(pA.y - pB.y);
  constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
  if (std::abs(x) > kMax || std::abs(y) > kMax) throw lcCOMError(e_LumIP_NoRegionOverlap, 0);
  try {
    b.setOffset(static_cast<int32_t>(x), static_cast<int32_t>(y));
  } catch (const lcPel::BadWindow&) {
    throw lcCOMError(e_LumIP_NoRegionOverlap, 0);
  }
}

void lcGiveTwoImageSpaces(const lcTwoImageSetup& setup, const lcTwoImageRequest& request,
                          const lcPelFrame& a, const lcPelFrame& b, const lcPelFrame& result,
                          ILumImage* output) {
  const LONG mode = setup.spaceTreeMode;
  const bool fromB =
      mode == lumIPTwoImageSpaceTreeModeCopyB || mode == lumIPTwoImageSpaceTreeModeCopyBMergeA;
  ILumImage* source = fromB ? request.imageB : request.imageA;
  const lc2Vector resultOffset{double(result.offsetX()), double(result.offsetY())};

  ComPtr<ILumCoordSpaceTree> tree;
  lum::Bstr selected;
  ComPtr<ILumTransform2D> pixelFromRoot;
  throwIfFailed(source->GetCoordinateInfo(tree.put(), selected.put(), pixelFromRoot.put()));
  const lc2XformLinear outputFromRoot =
      translation(shiftOf(fromB ? b : a) - resultOffset) * lcRequireLinear(pixelFromRoot.get());

  if (mode == lumIPTwoImageSpaceTreeModeCopyAMergeB ||
      mode == lumIPTwoImageSpaceTreeModeCopyBMergeA) {
    // The merged space maps the other input's root into this one's: its root to its
    // pixels, onto this input's pixels by the placing, then to this input's root.
    ILumImage* other = fromB ? request.imageA : request.imageB;
    const lc2Vector otherToThis = fromB ? shiftOf(a) - shiftOf(b) : shiftOf(b) - shiftOf(a);
    const lc2XformLinear merged =
        transformOf(source, L"@", L"#") * translation(otherToThis) * transformOf(other, L"#", L"@");
    ComPtr<ILumCoordSpaceTree> otherTree;
    throwIfFailed(other->get_CoordSpaceTree(otherTree.put()));
    throwIfFailed(tree->AttachTree(lum::Bstr(L"@").get(),
                                   lum::Bstr(setup.mergedSpaceTreeName).get(),
                                   lcTransformObject(merged).get(), otherTree.get()));
  }
  throwIfFailed(output->SetCoordinateInfo(tree.get(), selected.get(),
                                          lcTransformObject(outputFromRoot).get()));
}

void lcGiveDeeperPixelDepth(const lcTwoImageRequest& request, ILumImage* output) {
  const auto depthOf = [](ILumImage* image) {
    LONG depth = lumPixelDepth16Bits;
    ComPtr<ILumImage16Grey> grey;
    if (SUCCEEDED(image->QueryInterface(iid_of<ILumImage16Grey>, grey.putVoid())) && grey &&
        FAILED(grey->get_PixelDepth(&depth)))
      depth = lumPixelDepth16Bits;
    return depth;
  };
  ComPtr<ILumImage16Grey> target;
  throwIfFailed(output->QueryInterface(iid_of<ILumImage16Grey>, target.putVoid()));
  throwIfFailed(target->put_PixelDepth(std::max(depthOf(request.imageA), depthOf(request.imageB))));
}
