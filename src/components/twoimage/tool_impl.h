#pragma once
// lcTwoImageToolBase: the tool of a two-image operator. It owns the operator as
// RunParams, two input images and two regions; Run executes the operator on them and
// keeps its output. Two coordinate-axes graphics stand for the operator's alignment
// points in the current record: moving one writes its origin into the operator, and a
// change of the operator moves them, so tool, operator and graphics stay in step.
//
// A tool class declares its class, the operator's class identifier (kOperatorClass) and
// the operator's ImageAlignmentEnabled state ID (kAlignmentEnabledId). Its six state IDs
// run from `FirstStateId`: InputImageA, InputImageB, OutputImage, RunParams, RegionA,
// RegionB.

#include <atomic>
#include <optional>
#include <tuple>
#include <utility>

#include "components/framework/advise_sink.h"
#include "components/framework/tool_base.h"
#include "components/twoimage/two_image_frame.h"
#include "lumxip/ip/two_image.h"

// The pieces of the two-image tools that need no template. Each throws on failure.
namespace lcTwoImageTool {

// Which sink an event came through.
enum SinkId : LONG { kParamsSink = 0, kPointASink = 1, kPointBSink = 2 };

struct Point {
  double x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

LUM_FRAMEWORK_API Point alignmentPoint(ILumIPTwoImageParams& params, bool b);
LUM_FRAMEWORK_API Point origin(ILumCoordinateAxes& graphic);
// Writes `point` as the operator's alignment point A or B, as one change event.
LUM_FRAMEWORK_API void setAlignmentPoint(ILumIPTwoImageParams& params, bool b, const Point& point);
LUM_FRAMEWORK_API ComPtr<ILumCoordinateAxes> makeGraphic();
LUM_FRAMEWORK_API bool alignmentEnabled(ILumIPTwoImageParams& params);

// The run's inputs and their last-run copies.
struct Side {
  ComPtr<ILumImage> image;
  ComPtr<ILumRegion> region;
  LumRegionModeConstants regionMode = lumRegionModePixelAlignedBoundingBox;
  ComPtr<ILumCoordinateAxes> point;
};
// The last-run copies of one side as the diagnostic mask asks for them.
LUM_FRAMEWORK_API Side lastRunCopy(const Side& current, LONG diagnosticMask);
// The current record's sub-records of one side ("InputImageA", within it "RegionA" and
// "AlignmentPointA"), and the last run's.
LUM_FRAMEWORK_API void addCurrentSide(ILumRecord& record, const Side& side, bool b, LONG mask,
                                      bool alignmentShown);
LUM_FRAMEWORK_API void addLastRunSide(ILumRecord& record, const Side& side, bool b,
                                      LONG diagnosticMask);
// How the run placed B against A, kept while the diagnostic mask asks for overlap masks.
LUM_FRAMEWORK_API std::optional<lcTwoImageSetup> placementOf(ILumIPTwoImageParams& params,
                                                             LONG diagnosticMask);
// "TransformedRegionImageA"/"B" and "OverlapMaskA"/"B" of the last run, as the mask asks.
LUM_FRAMEWORK_API void addDiagnosticImages(ILumRecord& record, const Side& a, const Side& b,
                                           const std::optional<lcTwoImageSetup>& placement,
                                           LONG diagnosticMask);

}  // namespace lcTwoImageTool

template <class T, class ITool, class IParams, class IOperator, LONG FirstStateId>
class lcTwoImageToolBase : public lcToolBase<T, ITool>, public lcSinkOwner {
  using Base = lcToolBase<T, ITool>;
  using This = lcTwoImageToolBase;

 public:
  using Self = lcTwoImageToolBase;  // the fields below belong to this layer
  static constexpr LONG kIdInputImageA = FirstStateId, kIdInputImageB = FirstStateId + 1,
                        kIdOutputImage = FirstStateId + 2, kIdRunParams = FirstStateId + 3,
                        kIdRegionA = FirstStateId + 4, kIdRegionB = FirstStateId + 5;
  static constexpr LONG kCurrentRecordDefault = 7;      // input images, regions, points
  static constexpr LONG kLastRunRecordDefault = 2;      // the output image
  static constexpr LONG kLastRunRecordDiagDefault = 1;  // the inputs by reference
  static constexpr lcExposedProperty kExposedInputs[] = {
      {L"InputImageA", L"name{InputImageA} path{InputImageA} type{ILumImage}"},
      {L"InputImageB", L"name{InputImageB} path{InputImageB} type{ILumImage}"}};
  static constexpr lcExposedProperty kExposedOutputs[] = {
      {L"OutputImage", L"name{OutputImage} path{OutputImage} type{ILumImage}"}};

  // Persisted in this order after the tool's common members.
  static constexpr auto inheritedMembers() {
    constexpr LONG kInputChange = lumChangeSetByClient | lumChangeCurrentRecord;
    return std::tuple_cat(
        Base::inheritedMembers(),
        lum::members(
            persisted<&This::runParams_>(L"RunParams"),
            indexedProp<&This::get_RunParams, &This::putref_RunParams>(L"RunParams", kIdRunParams),
            prop<&This::regionA_>(L"RegionA", kIdRegionA).byReference().flags(kInputChange),
            prop<&This::regionB_>(L"RegionB", kIdRegionB).byReference().flags(kInputChange),
            prop<&This::inputA_>(L"InputImageA", kIdInputImageA)
                .byReference()
                .flags(kInputChange)
                .inGroups(256),
            prop<&This::inputB_>(L"InputImageB", kIdInputImageB)
                .byReference()
                .flags(kInputChange)
                .inGroups(256),
            prop<&This::output_>(L"OutputImage", kIdOutputImage)
                .readOnly()
                .flags(lumChangeProducedByRun)
                .inGroups(1),
            persisted<&This::lastInputA_>(L"InputImageA_LastRun").inGroups(256),
            persisted<&This::lastInputB_>(L"InputImageB_LastRun").inGroups(256),
            persisted<&This::lastRegionA_>(L"RegionA_LastRun"),
            persisted<&This::lastRegionB_>(L"RegionB_LastRun"),
            persisted<&This::lastModeA_>(L"RegionModeA_LastRun")
                .byDefault(lumRegionModePixelAlignedBoundingBox),
            persisted<&This::lastModeB_>(L"RegionModeB_LastRun")
                .byDefault(lumRegionModePixelAlignedBoundingBox),
            persisted<&This::lastPointA_>(L"AlignmentPointA_LastRun"),
            persisted<&This::lastPointB_>(L"AlignmentPointB_LastRun")));
  }
  LUM_PROPERTY_REF(InputImageA, ILumImage, inputA_)
  LUM_PROPERTY_REF(InputImageB, ILumImage, inputB_)
  LUM_PROPERTY_GET(OutputImage, ILumImage*, output_)
  LUM_PROPERTY_REF(RegionA, ILumRegion, regionA_)
  LUM_PROPERTY_REF(RegionB, ILumRegion, regionB_)

  HRESULT get_RunParams(IParams** params) override {
    if (params == nullptr) return E_POINTER;
    *params = this->read(runParams_).detach();
    return S_OK;
  }

  // Null is accepted; an object without the operator's parameter interface is not.
  HRESULT putref_RunParams(IParams* params) override {
    return callBoundary(this->context(L"putref_RunParams"), [&] {
      ComPtr<IParams> typed;
      if (params && FAILED(params->QueryInterface(iid_of<IParams>, typed.putVoid())))
        throw lcCOMError(E_NOINTERFACE, 0);
      ComPtr<IParams> old;
      {
        lcLockGuard guard(this->core().lock());
        if (runParams_ == typed) return;
        old = std::exchange(runParams_, typed);
      }
      listenToParams(typed.get());
      this->core().fireChange(kIdRunParams,
                              *lum::Variant(static_cast<IDispatch*>(typed.get())).ptr(),
                              lumChangeSetByClient | lumChangeCurrentRecord);
    });
  }

  // The operator, the alignment-point graphics and the sinks that keep them in step.
  void constructTool() {
    pointA_ = lcTwoImageTool::makeGraphic();
    pointB_ = lcTwoImageTool::makeGraphic();
    connect(pointSinkA_, lcTwoImageTool::kPointASink, pointA_.get());
    connect(pointSinkB_, lcTwoImageTool::kPointBSink, pointB_.get());
    ComPtr<IParams> params;
    throwIfFailed(CoCreateInstance(T::kOperatorClass, nullptr, CLSCTX_ALL, iid_of<IParams>,
                                   params.putVoid()));
    runParams_ = params;
    listenToParams(params.get());
  }

  void runStep() {
    const LONG diag = this->lastRunDiagnosticMask();
    ComPtr<IParams> params;
    lcTwoImageTool::Side a, b;
    ComPtr<ILumImage> previousOutput;
    {
      lcLockGuard guard(this->core().lock());
      params = runParams_;
      std::tie(a, b) = currentSides();
      lastInputA_ = lastInputB_ = nullptr;
      lastRegionA_ = lastRegionB_ = nullptr;
      lastModeA_ = lastModeB_ = lumRegionModePixelAlignedBoundingBox;
      lastPointA_ = lastPointB_ = nullptr;
      lastPlacement_.reset();
      previousOutput = std::move(output_);
    }
    if (previousOutput) this->core().fireChange(kIdOutputImage, lumChangeProducedByRun);
    std::optional<lcTwoImageSetup> placement;
    if (params) {
      throwIfFailed(params->get_RegionModeA(&a.regionMode));
      throwIfFailed(params->get_RegionModeB(&b.regionMode));
      placement = lcTwoImageTool::placementOf(*params, diag);
    }
    keepLastRunCopies(a, b, diag, placement);

    if (!params) throw lcCOMError(hresultFrom(0x8004E500), 0);
    ComPtr<IOperator> op;
    if (FAILED(params->QueryInterface(iid_of<IOperator>, op.putVoid())))
      throw lcCOMError(E_NOINTERFACE, 0);
    ComPtr<ILumImage> output;
    const HRESULT hr =
        op->Execute(a.image.get(), b.image.get(), a.region.get(), b.region.get(), output.put());
    {
      lcLockGuard guard(this->core().lock());
      output_ = output;
    }
    this->core().fireChange(kIdOutputImage,
                            *lum::Variant(static_cast<IDispatch*>(output.get())).ptr(),
                            lumChangeProducedByRun);
    throwIfFailed(hr);
  }

  void addCurrentSubRecords(ILumRecord& record, LONG mask) {
    lcTwoImageTool::Side a, b;
    ComPtr<IParams> params;
    {
      lcLockGuard guard(this->core().lock());
      std::tie(a, b) = currentSides();
      params = runParams_;
    }
    const bool aligned = params && lcTwoImageTool::alignmentEnabled(*params);
    lcTwoImageTool::addCurrentSide(record, a, false, mask, aligned);
    lcTwoImageTool::addCurrentSide(record, b, true, mask, aligned);
  }

  void addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
    lcTwoImageTool::Side a, b;
    ComPtr<ILumImage> output;
    std::optional<lcTwoImageSetup> placement;
    {
      lcLockGuard guard(this->core().lock());
      a = {lastInputA_, lastRegionA_, lastModeA_, lastPointA_};
      b = {lastInputB_, lastRegionB_, lastModeB_, lastPointB_};
      output = output_;
      placement = lastPlacement_;
    }
    lcTwoImageTool::addLastRunSide(record, a, false, diag);
    lcTwoImageTool::addLastRunSide(record, b, true, diag);
    lcTwoImageTool::addDiagnosticImages(record, a, b, placement, diag);
    if (output && (mask & 2))
      lcTool::addSubRecord(record, L"OutputImage", lumRecordContentImage, lumRecordUsageLastRun, 0,
                           output.get());
  }

  // After reading, the sink follows the operator that was read.
  void persistCustom(ILumArchive& archive, LONG mode) {
    Base::persistCustom(archive, mode);
    if (mode & lumPersistWriting) return;
    listenToParams(this->read(runParams_).get());
  }

  // The graphics a display shows for the alignment points.
  ComPtr<ILumCoordinateAxes> alignmentGraphic(bool b) { return this->read(b ? pointB_ : pointA_); }

  void onContainedEvent(LONG sinkId, DISPID, const std::vector<lum::Variant>& args) override {
    if (args.size() != 3 || args[0].get().vt != VT_I4) return;
    try {
      if (sinkId == lcTwoImageTool::kParamsSink)
        onParamsChanged(args[0].get().lVal);
      else
        onGraphicMoved(sinkId == lcTwoImageTool::kPointBSink);
    } catch (...) {
      // An event handler has no caller to report to; the next change brings them in step.
    }
  }

 protected:
  lcTwoImageToolBase() = default;

 private:
  // The inputs, regions and graphics of A and B; call under the lock.
  std::pair<lcTwoImageTool::Side, lcTwoImageTool::Side> currentSides() const {
    return {{inputA_, regionA_, lumRegionModePixelAlignedBoundingBox, pointA_},
            {inputB_, regionB_, lumRegionModePixelAlignedBoundingBox, pointB_}};
  }

  void connect(lcSinkConnection& connection, LONG id, IUnknown* source) {
    auto sink = lum::makeComObject<lcAdviseSink>(this, id);
    throwIfFailed(sink->connect(source));
    connection = lcSinkConnection(std::move(sink));
  }

  void listenToParams(IParams* params) {
    if (params == nullptr) {
      paramsSink_.reset();
      return;
    }
    connect(paramsSink_, lcTwoImageTool::kParamsSink, params);
    syncGraphics(*params);
  }

  void onParamsChanged(LONG stateId) {
    ComPtr<IParams> params = this->read(runParams_);
    if (!params) return;
    if (stateId == T::kAlignmentEnabledId)
      this->core().fireChange(lumIPTool_CurrentRecordChanged, lumChangeCurrentRecord);
    syncGraphics(*params);
  }

  // Each graphic whose origin differs from the operator's point takes the point.
  void syncGraphics(IParams& params) {
    ++updatingGraphics_;
    struct Done {
      std::atomic<int>& count;
      ~Done() { --count; }
    } done{updatingGraphics_};
    for (bool b : {false, true}) {
      ComPtr<ILumCoordinateAxes> graphic = alignmentGraphic(b);
      const lcTwoImageTool::Point point = lcTwoImageTool::alignmentPoint(params, b);
      if (graphic && lcTwoImageTool::origin(*graphic) != point)
        throwIfFailed(graphic->SetOrigin(point.x, point.y));
    }
  }

  void onGraphicMoved(bool b) {
    if (updatingGraphics_ > 0) return;
    ComPtr<IParams> params = this->read(runParams_);
    ComPtr<ILumCoordinateAxes> graphic = alignmentGraphic(b);
    if (!params || !graphic) return;
    const lcTwoImageTool::Point moved = lcTwoImageTool::origin(*graphic);
    if (moved != lcTwoImageTool::alignmentPoint(*params, b))
      lcTwoImageTool::setAlignmentPoint(*params, b, moved);
  }

  void keepLastRunCopies(const lcTwoImageTool::Side& a, const lcTwoImageTool::Side& b, LONG diag,
                         const std::optional<lcTwoImageSetup>& placement) {
    const lcTwoImageTool::Side lastA = lcTwoImageTool::lastRunCopy(a, diag);
    const lcTwoImageTool::Side lastB = lcTwoImageTool::lastRunCopy(b, diag);
    lcLockGuard guard(this->core().lock());
    lastInputA_ = lastA.image, lastRegionA_ = lastA.region, lastPointA_ = lastA.point;
    lastInputB_ = lastB.image, lastRegionB_ = lastB.region, lastPointB_ = lastB.point;
    lastModeA_ = lastA.regionMode, lastModeB_ = lastB.regionMode;
    lastPlacement_ = placement;
  }

  ComPtr<IParams> runParams_;
  ComPtr<ILumRegion> regionA_, regionB_;
  ComPtr<ILumImage> inputA_, inputB_, output_;
  ComPtr<ILumImage> lastInputA_, lastInputB_;
  ComPtr<ILumRegion> lastRegionA_, lastRegionB_;
  LumRegionModeConstants lastModeA_ = lumRegionModePixelAlignedBoundingBox;
  LumRegionModeConstants lastModeB_ = lumRegionModePixelAlignedBoundingBox;
  ComPtr<ILumCoordinateAxes> lastPointA_, lastPointB_;
  // Not persisted: a loaded tool shows overlap masks again after its next run.
  std::optional<lcTwoImageSetup> lastPlacement_;
  ComPtr<ILumCoordinateAxes> pointA_, pointB_;
  std::atomic<int> updatingGraphics_{0};
  // Declared last, so that they are let go first: no event reaches a tool being torn down.
  lcSinkConnection paramsSink_, pointSinkA_, pointSinkB_;
};
