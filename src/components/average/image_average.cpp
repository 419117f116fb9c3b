#include "components/average/image_average.h"

#include "components/bridge/image_bridge.h"
#include "components/framework/core_bytes.h"
#include "lumxip/ip/result_codes.h"

namespace {

inline constexpr HRESULT kNothingAccumulated = hresultFrom(e_LumIP_NoDataAvailableToProcess);

// A new image without pixels that carries `image`'s tree, selected space and placement.
ComPtr<ILumImage> placementOf(ILumImage* image) {
  ComPtr<ILumCoordSpaceTree> tree;
  lum::Bstr selected;
  ComPtr<ILumTransform2D> pixelFromRoot;
  throwIfFailed(image->GetCoordinateInfo(tree.put(), selected.put(), pixelFromRoot.put()));
  ComPtr<ILumImage> placement;
  throwIfFailed(CoCreateInstance(CLSID_LumImage8Grey, nullptr, CLSCTX_ALL, iid_of<ILumImage>,
                                 placement.putVoid()));
  throwIfFailed(placement->SetCoordinateInfo(tree.get(), selected.get(), pixelFromRoot.get()));
  return placement;
}

}  // namespace

HRESULT CLumImageAverage::get_NumImages(LONG* count) {
  if (count == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *count = buffer_.count();
  return S_OK;
}

void CLumImageAverage::afterPropertyStored(DISPID id) {
  if (id == lumImageAverage_StandardDeviationEnabled &&
      buffer_.standardDeviationEnabled() != StandardDeviationEnabled.value) {
    buffer_.reset(StandardDeviationEnabled.value);
    placement_ = nullptr;
  }
}

HRESULT CLumImageAverage::Add(ILumImage* input, ILumRegion* region) {
  return callBoundary(context(L"Add"), [&] {
    if (input == nullptr) throw lcCOMError(kNoInputImage, 0);
    if (lcChooseImageFormat(input, lcImageFormatGrey8) != lcImageFormatGrey8)
      throw lcCOMError(kUnsupportedPixelFormat, 0);
    LONG mode = 0;
    bool first = false;
    {
      lcLockGuard guard(core().lock());
      mode = RegionMode;
      first = buffer_.count() == 0;
    }
    const lcPelBuffer<uint8_t> frame = lcInputBuffer8({input, mode, region});
    ComPtr<ILumImage> placement = first ? placementOf(input) : nullptr;
    {
      lcLockGuard guard(core().lock());
      buffer_.add(frame);
      if (buffer_.count() == 1) placement_ = std::move(placement);
    }
    core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
  });
}

HRESULT CLumImageAverage::Reset() {
  return callBoundary(context(L"Reset"), [&] {
    {
      lcLockGuard guard(core().lock());
      buffer_.reset();
      placement_ = nullptr;
    }
    core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
  });
}

HRESULT CLumImageAverage::ExecuteAverage(ILumImage** average) {
  if (HRESULT hr = lcClearOutPointers(average); FAILED(hr)) return hr;
  return callBoundary(context(L"ExecuteAverage"), [&] {
    lcPelBuffer<uint8_t> result;
    ComPtr<ILumImage> placement;
    {
      lcLockGuard guard(core().lock());
      if (buffer_.count() < 1) throw lcCOMError(kNothingAccumulated, 0);
      result = buffer_.average();
      placement = placement_;
    }
    *average = lcOutputImage8(result, placement.get()).detach();
  });
}

HRESULT CLumImageAverage::ExecuteStandardDeviation(ILumImage** deviation) {
  if (HRESULT hr = lcClearOutPointers(deviation); FAILED(hr)) return hr;
  return callBoundary(context(L"ExecuteStandardDeviation"), [&] {
    lcPelBuffer<uint8_t> result;
    ComPtr<ILumImage> placement;
    {
      lcLockGuard guard(core().lock());
      if (buffer_.count() < 1) throw lcCOMError(kNothingAccumulated, 0);
      if (!buffer_.standardDeviationEnabled()) throw lcCOMError(E_INVALIDARG, 0);
      result = buffer_.standardDeviation();
      placement = placement_;
    }
    *deviation = lcOutputImage8(result, placement.get()).detach();
  });
}

void CLumImageAverage::persistCustom(ILumArchive& archive, LONG mode) {
  lcFrameAverageBuffer buffer;
  if (mode & lumPersistWriting) {
    lcLockGuard guard(core().lock());
    buffer = buffer_;
    // The property is the flag's truth; an accumulation kept under the other flag is
    // one that a change of the flag would have emptied.
    if (buffer.standardDeviationEnabled() != StandardDeviationEnabled.value)
      buffer.reset(StandardDeviationEnabled.value);
  }
  if (!persistCoreBytes(archive, mode, L"FrameAverageBuffer",
                        [&](lcArchive& core) { buffer.archive(core); }))
    return;
  lcLockGuard guard(core().lock());
  buffer_ = std::move(buffer);
  placement_ = nullptr;
  StandardDeviationEnabled.value = buffer_.standardDeviationEnabled();
}
