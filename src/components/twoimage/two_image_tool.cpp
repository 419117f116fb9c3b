#include "components/twoimage/tool_impl.h"
#include "components/twoimage/two_image_diagnostics.h"

namespace lcTwoImageTool {
namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

enum DiagnosticBits : LONG {
  kInputsByReference = 1,
  kInputsDeepCopy = 4,
  kTransformedRegionImages = 32,
  kRegions = 256,
  kAlignmentPoints = 512,
  kOverlapMasks = 1024,
};
enum CurrentBits : LONG { kInputImages = 1, kCurrentRegions = 2, kCurrentPoints = 4 };

// "InputImageA" or "InputImageB" and the like.
std::wstring keyOf(const wchar_t* stem, bool b) {
  return std::wstring(stem) + (b ? L"B" : L"A");
}

}  // namespace

Point alignmentPoint(ILumIPTwoImageParams& params, bool b) {
  Point point;
  throwIfFailed(b ? params.get_ImageBAlignmentX(&point.x) : params.get_ImageAAlignmentX(&point.x));
  throwIfFailed(b ? params.get_ImageBAlignmentY(&point.y) : params.get_ImageAAlignmentY(&point.y));
  return point;
}

Point origin(ILumCoordinateAxes& graphic) {
  Point point;
  throwIfFailed(graphic.get_OriginX(&point.x));
  throwIfFailed(graphic.get_OriginY(&point.y));
  return point;
}

void setAlignmentPoint(ILumIPTwoImageParams& params, bool b, const Point& point) {
  ComPtr<ILumChangeEventConfiguration> delivery;
  throwIfFailed(params.QueryInterface(iid_of<ILumChangeEventConfiguration>, delivery.putVoid()));
  throwIfFailed(delivery->SuspendEventDelivery());
  const HRESULT x = b ? params.put_ImageBAlignmentX(point.x) : params.put_ImageAAlignmentX(point.x);
  const HRESULT y = b ? params.put_ImageBAlignmentY(point.y) : params.put_ImageAAlignmentY(point.y);
  throwIfFailed(delivery->ResumeAndFireEvent());
  throwIfFailed(x);
  throwIfFailed(y);
}

ComPtr<ILumCoordinateAxes> makeGraphic() {
  ComPtr<ILumCoordinateAxes> graphic;
  throwIfFailed(CoCreateInstance(CLSID_LumCoordinateAxes, nullptr, CLSCTX_ALL,
                                 iid_of<ILumCoordinateAxes>, graphic.putVoid()));
  return graphic;
}

bool alignmentEnabled(ILumIPTwoImageParams& params) {
  VARIANT_BOOL enabled = VARIANT_FALSE;
  throwIfFailed(params.get_ImageAlignmentEnabled(&enabled));
  return enabled != VARIANT_FALSE;
}

std::optional<lcTwoImageSetup> placementOf(ILumIPTwoImageParams& params, LONG diag) {
  if (!hasAny(diag, kOverlapMasks)) return std::nullopt;
  lcTwoImageSetup setup;
  LumRegionModeConstants modeA{}, modeB{};
  throwIfFailed(params.get_RegionModeA(&modeA));
  throwIfFailed(params.get_RegionModeB(&modeB));
  setup.regionModeA = modeA, setup.regionModeB = modeB;
  setup.alignmentEnabled = alignmentEnabled(params);
  const Point a = alignmentPoint(params, false), b = alignmentPoint(params, true);
  setup.alignAX = a.x, setup.alignAY = a.y, setup.alignBX = b.x, setup.alignBY = b.y;
  return setup;
}

Side lastRunCopy(const Side& current, LONG diag) {
  Side last;
  if (current.image &&
      hasAny(diag, kInputsByReference | kInputsDeepCopy | kTransformedRegionImages | kOverlapMasks))
    last.image = hasAny(diag, kInputsDeepCopy) ? deepCopy(current.image.get()) : current.image;
  if (current.region && hasAny(diag, kRegions | kTransformedRegionImages | kOverlapMasks)) {
    last.region = deepCopy(current.region.get());
    last.regionMode = current.regionMode;
  }
  if (current.point && hasAny(diag, kAlignmentPoints)) last.point = deepCopy(current.point.get());
  return last;
}

void addCurrentSide(ILumRecord& record, const Side& side, bool b, LONG mask, bool alignmentShown) {
  if (!side.image || !hasAny(mask, kInputImages)) return;
  auto input = lcTool::addSubRecord(record, keyOf(L"InputImage", b).c_str(), lumRecordContentImage,
                                    lumRecordUsageCurrentInputImage, 0, side.image.get());
  if (side.region && hasAny(mask, kCurrentRegions))
    lcTool::addSubRecord(*input, keyOf(L"Region", b).c_str(), lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, side.region.get());
  if (side.point && alignmentShown && hasAny(mask, kCurrentPoints))
    lcTool::addSubRecord(*input, keyOf(L"AlignmentPoint", b).c_str(), lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, side.point.get());
}

void addLastRunSide(ILumRecord& record, const Side& side, bool b, LONG diag) {
  if (!side.image || !hasAny(diag, kInputsByReference | kInputsDeepCopy)) return;
  auto input = lcTool::addSubRecord(record, keyOf(L"InputImage", b).c_str(), lumRecordContentImage,
                                    lumRecordUsageLastRun, 0, side.image.get());
  if (side.region && hasAny(diag, kRegions))
    lcTool::addSubRecord(*input, keyOf(L"Region", b).c_str(), lumRecordContentRegion,
                         lumRecordUsageLastRun, 0, side.region.get());
  if (side.point && hasAny(diag, kAlignmentPoints))
    lcTool::addSubRecord(*input, keyOf(L"AlignmentPoint", b).c_str(), lumRecordContentRegion,
                         lumRecordUsageLastRun, 0, side.point.get());
}

void addDiagnosticImages(ILumRecord& record, const Side& a, const Side& b,
                         const std::optional<lcTwoImageSetup>& placement, LONG diag) {
  lcTwoImageSetup setup = placement.value_or(lcTwoImageSetup{});
  setup.regionModeA = a.regionMode, setup.regionModeB = b.regionMode;
  const bool overlapMasks = placement && hasAny(diag, kOverlapMasks);
  const lcTwoImageDiagnostics images = lcTwoImageDiagnosticImages(
      setup, {a.image.get(), b.image.get(), a.region.get(), b.region.get()},
      hasAny(diag, kTransformedRegionImages), overlapMasks);
  for (bool second : {false, true}) {
    const lcTwoImageSideImages& side = second ? images.b : images.a;
    if (side.regionImage)
      lcTool::addSubRecord(record, keyOf(L"TransformedRegionImage", second).c_str(),
                           lumRecordContentImage, lumRecordUsageDerivedDiagnosticImage, 0,
                           side.regionImage.get());
    if (side.overlapMask)
      lcTool::addSubRecord(record, keyOf(L"OverlapMask", second).c_str(), lumRecordContentImage,
                           lumRecordUsageDerivedDiagnosticImage, 0, side.overlapMask.get());
  }
}

}  // namespace lcTwoImageTool
