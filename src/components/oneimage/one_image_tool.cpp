#include "components/oneimage/one_image_tool.h"

#include <algorithm>
#include <string>
#include <vector>

#include "components/bridge/one_image_frame.h"
#include "std/pelbuf/pel_drivers.h"

namespace {

using lcTool::deepCopy;
using lcTool::hasAny;

inline constexpr HRESULT kNoOperators = hresultFrom(0x8004E500);

// Copies the input's pixels within the region into new memory: the empty chain's output
// and the last-run record's region image.
struct CopyKernel {
  template <class Pel>
  static lcPelBuffer<Pel> copy(const lcPelBuffer<Pel>& source) {
    lcPelBuffer<Pel> result;
    lcForEachRow(source, result,
                 [](const Pel* in, Pel* out, int32_t width) { std::copy_n(in, width, out); });
    return result;
  }
  lcPelBuffer<uint8_t> grey8(const lcPelBuffer<uint8_t>& source, int) { return copy(source); }
  lcPelBuffer<uint16_t> grey16(const lcPelBuffer<uint16_t>& source) { return copy(source); }
  lcPelBufferRange16 range16(const lcPelBufferRange16& source) {
    return lcPelBufferRange16(copy(source.pels()), copy(source.mask()), source.range());
  }
};

ComPtr<ILumImage> copyWithin(ILumImage* image, LONG mode, ILumRegion* region, unsigned formats) {
  CopyKernel kernel;
  const lcOneImageFrame frame{formats, true};
  return lum::detail::runFrame(frame, kernel, lcImageRequest{image, mode, region});
}

// The chain's operators as one snapshot, taken in one step: another thread may add,
// remove or move operators while the tool runs, and asking for the count and then for
// each item could skip one, run one twice or fail half-way.
std::vector<ComPtr<ILumIPOneImageOperator>> operatorsOf(ILumIPOneImageOperators& chain) {
  ComPtr<IUnknown> unknown;
  throwIfFailed(chain.get__NewEnum(unknown.put()));
  const auto items = unknown.as<IEnumVARIANT>();
  if (!items) throw lcCOMError(E_NOINTERFACE, 0);
  std::vector<ComPtr<ILumIPOneImageOperator>> operators;
  for (lum::Variant item; items->Next(1, item.ptr(), nullptr) == S_OK; item.clear()) {
    ComPtr<ILumIPOneImageOperator> op;
    if (!item.get().punkVal ||
        FAILED(item.get().punkVal->QueryInterface(iid_of<ILumIPOneImageOperator>, op.putVoid())))
      throw lcCOMError(E_NOINTERFACE, 0);
    operators.push_back(std::move(op));
  }
  return operators;
}

}  // namespace

struct CLumIPOneImageTool::RunInputs {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  LumRegionModeConstants mode = lumRegionModePixelAlignedBoundingBox;
  ComPtr<ILumIPOneImageOperators> operators;
};

struct CLumIPOneImageTool::ChainOutcome {
  ComPtr<ILumImage> image;
  HRESULT result = S_OK;  // of the operator that failed
  lum::Bstr name;         // its name
  LONG position = 0;      // its 1-based position
};

void CLumIPOneImageTool::constructTool() {
  operators_ = create<ILumIPOneImageOperators>(CLSID_LumIPOneImageOperators);
}

void CLumIPOneImageTool::runStep() {
  const LONG diag = lastRunDiagnosticMask();
  RunInputs in;
  ComPtr<ILumImage> previousOutput;
  {
    lcLockGuard guard(core().lock());
    in = {input_, region_, regionMode_, operators_};
    lastRegionMode_ = lumRegionModePixelAlignedBoundingBox;
    lastInput_ = nullptr;
    lastRegion_ = nullptr;
    previousOutput = std::move(output_);
  }
  if (previousOutput) core().fireChange(lumIPOneImageTool_OutputImage, lumChangeProducedByRun);
  keepLastRunCopies(in, diag);

  if (!in.operators) throw lcCOMError(kNoOperators, 0);
  const ChainOutcome outcome = runChain(in, diag);
  {
    lcLockGuard guard(core().lock());
    output_ = outcome.image;
  }
  core().fireChange(lumIPOneImageTool_OutputImage,
                    *lum::Variant(static_cast<IDispatch*>(outcome.image.get())).ptr(),
                    lumChangeProducedByRun);
  if (outcome.result != S_OK) {
    lcMessageArgs args(outcome.name.get() ? outcome.name.get() : L"", outcome.position);
    throw lcCOMError(outcome.result, 1, ids_LumIP_OperatorError_2, &args);
  }
}

void CLumIPOneImageTool::keepLastRunCopies(const RunInputs& in, LONG diag) {
  ComPtr<ILumImage> lastInput;
  ComPtr<ILumRegion> lastRegion;
  if (in.input && hasAny(diag, lumIPOneImageLastRunRecordDiagInputImageByReference |
                                   lumIPOneImageLastRunRecordDiagInputImageDeepCopy |
                                   lumIPOneImageLastRunRecordDiagTransformedRegionImage))
    lastInput = hasAny(diag, lumIPOneImageLastRunRecordDiagInputImageDeepCopy)
                    ? deepCopy(in.input.get())
                    : in.input;
  if (in.region && hasAny(diag, lumIPOneImageLastRunRecordDiagRegion |
                                    lumIPOneImageLastRunRecordDiagTransformedRegionImage))
    lastRegion = deepCopy(in.region.get());
  lcLockGuard guard(core().lock());
  lastInput_ = lastInput;
  lastRegion_ = lastRegion;
  if (lastRegion) lastRegionMode_ = in.mode;
}

CLumIPOneImageTool::ChainOutcome CLumIPOneImageTool::runChain(const RunInputs& in, LONG diag) {
  const auto operators = operatorsOf(*in.operators);
  const auto count = static_cast<LONG>(operators.size());
  const bool keepIntermediates = hasAny(diag, lumIPOneImageLastRunRecordDiagIntermediateImages);
  ComPtr<ILumCollection> intermediates;
  if (keepIntermediates) {
    intermediates = read(intermediates_);
    if (intermediates) {
      throwIfFailed(intermediates->Clear());
    } else {
      intermediates = createIntermediates();
      lcLockGuard guard(core().lock());
      intermediates_ = intermediates;
    }
  }

  ChainOutcome outcome;
  if (count == 0) {
    outcome.image = copyWithin(
        in.input.get(), in.mode, in.region.get(),
        lcImageFormatGrey8 | lcImageFormatGrey16 | lcImageFormatPlanar24 | lcImageFormatRange16);
    return outcome;
  }
  outcome.image = in.input;
  bool first = true;
  LONG produced = 0;
  for (LONG i = 0; i < count; ++i) {
    const ComPtr<ILumIPOneImageOperator>& op = operators[static_cast<std::size_t>(i)];
    VARIANT_BOOL enabled = VARIANT_FALSE;
    lum::Bstr name;
    throwIfFailed(op->get_Enabled(&enabled));
    throwIfFailed(op->get_OperatorName(name.put()));
    if (!enabled) continue;
    ComPtr<ILumImage> next;
    const HRESULT hr =
        op->Execute(outcome.image.get(), in.mode, first ? in.region.get() : nullptr, next.put());
    if (hr != S_OK) {
      outcome.result = FAILED(hr) ? hr : E_FAIL;
      outcome.name = std::move(name);
      outcome.position = i + 1;
      return outcome;
    }
    outcome.image = next;
    first = false;
    ++produced;
    if (intermediates) {
      lum::Variant image(static_cast<IDispatch*>(next.get()));
      throwIfFailed(intermediates->Add(image.get(), name.get(), -1));
    }
  }
  // The last image produced is the output, not an intermediate one.
  if (intermediates && produced > 0)
    throwIfFailed(intermediates->Remove(*lum::Variant(int32_t(produced - 1)).ptr()));
  return outcome;
}

ComPtr<ILumCollection> CLumIPOneImageTool::createIntermediates() {
  CLSID clsid{};
  ComPtr<ILumCollection> collection;
  HRESULT hr = CLSIDFromProgID(lum::Bstr(L"Halvex.LumCollection").get(), &clsid);
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<ILumCollection>, collection.putVoid());
  if (FAILED(hr)) {
    const lcMessageArgs args(L"LumCollection");
    throw lcCOMError(hr, 0, kMessageCannotCreate, &args);
  }
  return collection;
}

void CLumIPOneImageTool::addCurrentSubRecords(ILumRecord& record, LONG mask) {
  ComPtr<ILumImage> input;
  ComPtr<ILumRegion> region;
  {
    lcLockGuard guard(core().lock());
    input = input_;
    region = region_;
  }
  if (!hasAny(mask, lumIPOneImageCurrentRecordInputImage) || !input) return;
  auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                          lumRecordUsageCurrentInputImage, 0, input.get());
  if (region && hasAny(mask, lumIPOneImageCurrentRecordRegion))
    lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion,
                         lumRecordUsageCurrentRegion, -1, region.get());
}

void CLumIPOneImageTool::addLastRunSubRecords(ILumRecord& record, LONG mask, LONG diag) {
  ComPtr<ILumImage> input, output;
  ComPtr<ILumRegion> region;
  ComPtr<ILumCollection> intermediates;
  LumRegionModeConstants mode{};
  {
    lcLockGuard guard(core().lock());
    input = lastInput_, output = output_, region = lastRegion_, mode = lastRegionMode_;
    intermediates = intermediates_;
  }
  if (input && hasAny(diag, lumIPOneImageLastRunRecordDiagInputImageByReference |
                                lumIPOneImageLastRunRecordDiagInputImageDeepCopy)) {
    auto inputRecord = lcTool::addSubRecord(record, L"InputImage", lumRecordContentImage,
                                            lumRecordUsageLastRun, 0, input.get());
    if (region && hasAny(diag, lumIPOneImageLastRunRecordDiagRegion))
      lcTool::addSubRecord(*inputRecord, L"Region", lumRecordContentRegion, lumRecordUsageLastRun,
                           0, region.get());
  }
  if (input && region && mode != lumRegionModeAffineTransform &&
      hasAny(diag, lumIPOneImageLastRunRecordDiagTransformedRegionImage) &&
      lcChooseImageFormat(input.get(), lcImageFormatGrey8) == lcImageFormatGrey8) {
    auto pixels = copyWithin(input.get(), mode, region.get(), lcImageFormatGrey8);
    lcTool::addSubRecord(record, L"TransformedRegionImage", lumRecordContentImage,
                         lumRecordUsageDerivedDiagnosticImage, 0, pixels.get());
  }
  if (intermediates && hasAny(diag, lumIPOneImageLastRunRecordDiagIntermediateImages))
    addIntermediateRecords(record, *intermediates);
  if (output && hasAny(mask, lumIPOneImageLastRunRecordOutputImage))
    lcTool::addSubRecord(record, L"OutputImage", lumRecordContentImage, lumRecordUsageLastRun, 0,
                         output.get());
}

void CLumIPOneImageTool::addIntermediateRecords(ILumRecord& record, ILumCollection& images) {
  LONG count = 0;
  throwIfFailed(images.get_Count(&count));
  for (LONG i = 0; i < count; ++i) {
    lum::Variant image;
    lum::Bstr name;
    throwIfFailed(images.get_Item(i, image.put()));
    throwIfFailed(images.get_Key(i, name.put()));
    const std::wstring number = std::to_wstring(i + 1);
    const std::wstring key = L"IntermediateImage - " + number;
    const std::wstring annotation = std::wstring(name.view()) + L" - " + number;
    lcTool::addSubRecord(record, key.c_str(), lumRecordContentImage, lumRecordUsageLastRun, 0,
                         image.get().punkVal, annotation.c_str());
  }
}
