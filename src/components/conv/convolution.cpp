#include "components/conv/convolution.h"

#include <algorithm>

#include "components/framework/core_bytes.h"
#include "lumxip/HalvexImageProcessing.h"

// ---- LumIPOneImageConvolve3x3 ----

namespace {

using Fields = lcConvolve3x3Fields;
constexpr double Fields::*kWeightFields[9] = {
    &Fields::KernelNorthWest, &Fields::KernelNorth,  &Fields::KernelNorthEast,
    &Fields::KernelWest,      &Fields::KernelCenter, &Fields::KernelEast,
    &Fields::KernelSouthWest, &Fields::KernelSouth,  &Fields::KernelSouthEast};

void checkPosition(LONG position) {
  if (position < 0 || position > 8)
    throwInvalidArgument(kMessageNotInEnumeration, lcMessageArgs(L"Kernel position"));
}

}  // namespace

std::array<double, 9> CLumIPOneImageConvolve3x3::weights() {
  std::array<double, 9> values{};
  for (int i = 0; i < 9; ++i)
    values[i] = this->*kWeightFields[i];
  return values;
}

void CLumIPOneImageConvolve3x3::storeWeights(const std::array<double, 9>& values, DISPID stateId,
                                             const lum::Variant& eventValue) {
  {
    lcLockGuard guard(core().lock());
    if (weights() == values) return;
    for (int i = 0; i < 9; ++i)
      this->*kWeightFields[i] = values[i];
    prepared_.markStale();
  }
  core().fireChange(stateId, *eventValue.ptr(), lumChangeSetByClient);
}

HRESULT CLumIPOneImageConvolve3x3::get_KernelValue(
    LumIPOneImageConvolve3x3PositionConstants position, double* value) {
  if (HRESULT hr = lcClearOutPointers(value); FAILED(hr)) return hr;
  return callBoundary(context(L"get_KernelValue"), [&] {
    checkPosition(position);
    lcLockGuard guard(core().lock());
    *value = this->*kWeightFields[position];
  });
}

HRESULT CLumIPOneImageConvolve3x3::put_KernelValue(
    LumIPOneImageConvolve3x3PositionConstants position, double value) {
  return callBoundary(context(L"put_KernelValue"), [&] {
    checkPosition(position);
    std::array<double, 9> values;
    {
      lcLockGuard guard(core().lock());
      values = weights();
    }
    values[position] = value;
    storeWeights(values, lumIPOneImageConvolve3x3_KernelValue, lum::Variant(value));
  });
}

HRESULT CLumIPOneImageConvolve3x3::get_Kernel(ILumCollection** collection) {
  if (HRESULT hr = lcClearOutPointers(collection); FAILED(hr)) return hr;
  return callBoundary(context(L"get_Kernel"), [&] {
    std::array<double, 9> values;
    {
      lcLockGuard guard(core().lock());
      values = weights();
    }
    ComPtr<ILumCollection> made;
    throwIfFailed(CoCreateInstance(CLSID_LumCollection, nullptr, CLSCTX_ALL, iid_of<ILumCollection>,
                                   made.putVoid()));
    for (double value : values)
      throwIfFailed(made->Add(*lum::Variant(value).ptr(), nullptr, -1));
    *collection = made.detach();
  });
}

HRESULT CLumIPOneImageConvolve3x3::put_Kernel(ILumCollection* collection) {
  return callBoundary(context(L"put_Kernel"), [&] {
    const lcMessageArgs bounds(L"kernel", 0, 8);
    LONG count = 0;
    if (collection == nullptr || FAILED(collection->get_Count(&count)) || count != 9)
      throwInvalidArgument(kMessageBounds, bounds);
    std::array<double, 9> values{};
    for (LONG i = 0; i < 9; ++i) {
      lum::Variant item;
      throwIfFailed(collection->get_Item(i, item.put()));
      if (FAILED(item.changeType(VT_R8))) throwInvalidArgument(kMessageBounds, bounds);
      values[i] = item.get().dblVal;
    }
    storeWeights(values, lumIPOneImageConvolve3x3_Kernel, lum::Variant());
  });
}

void CLumIPOneImageConvolve3x3::afterPropertyStored(DISPID id) {
  if (id != lumIPOneImageConvolve3x3_OutputImageFormat) prepared_.markStale();
}

CLumIPOneImageConvolve3x3::Snapshot CLumIPOneImageConvolve3x3::snapshot() {
  return prepared_.snapshot(core().lock(),
                            [&] { return lcPrepareConvolve3x3(weights(), KernelOrigin); });
}

void CLumIPOneImageConvolve3x3::run(const lcPelBuffer<uint8_t>& source,
                                    lcPelBuffer<uint8_t>& result, const Snapshot& kernel, int) {
  lcConvolve3x3(source, result, *kernel);
}

// ---- LumIPOneImageConvolveNxM ----

HRESULT CLumIPOneImageConvolveNxM::FinalConstruct() {
  if (HRESULT hr = lcIPOneImageOperatorImpl::FinalConstruct(); FAILED(hr)) return hr;
  return callBoundary(context(L"FinalConstruct"), [&] { resize(3, 3, 0, 0); });
}

void CLumIPOneImageConvolveNxM::resize(LONG width, LONG height, DISPID stateId, LONG area) {
  {
    lcLockGuard guard(core().lock());
    const LONG oldWidth = kernel_.isBound() ? kernel_.width() : 0;
    const LONG oldHeight = kernel_.isBound() ? kernel_.height() : 0;
    if (width == oldWidth && height == oldHeight) return;
    lcPelBuffer<double> resized;
    resized.allocate(width, height);
    for (LONG y = 0; y < height; ++y)
      for (LONG x = 0; x < width; ++x)
        *resized.pelAddress(x, y) = x < oldWidth && y < oldHeight ? *kernel_.pelAddress(x, y) : 1.0;
    kernel_ = std::move(resized);
    prepared_.markStale();
  }
  if (stateId != 0) core().fireChange(stateId, lumChangeSetByClient | area);
}

namespace {
void checkKernelSize(LONG size) {
  if (size <= 0 || size % 2 == 0)
    throwInvalidArgument(uint32_t(e_LumIP_NxMKernelSize), lcMessageArgs());
}
}  // namespace

HRESULT CLumIPOneImageConvolveNxM::get_KernelWidth(LONG* width) {
  if (width == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *width = kernel_.width();
  return S_OK;
}

HRESULT CLumIPOneImageConvolveNxM::get_KernelHeight(LONG* height) {
  if (height == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *height = kernel_.height();
  return S_OK;
}

HRESULT CLumIPOneImageConvolveNxM::put_KernelWidth(LONG width) {
  return callBoundary(context(L"put_KernelWidth"), [&] {
    checkKernelSize(width);
    LONG height = 0;
    get_KernelHeight(&height);
    resize(width, height, lumIPOneImageConvolveNxM_KernelWidth, lumFA_IPOneImageConvolveNxM_Width);
  });
}

HRESULT CLumIPOneImageConvolveNxM::put_KernelHeight(LONG height) {
  return callBoundary(context(L"put_KernelHeight"), [&] {
    checkKernelSize(height);
    LONG width = 0;
    get_KernelWidth(&width);
    resize(width, height, lumIPOneImageConvolveNxM_KernelHeight,
           lumFA_IPOneImageConvolveNxM_Height);
  });
}

void CLumIPOneImageConvolveNxM::checkCell(LONG column, LONG row) {
  lcLockGuard guard(core().lock());
  if (column < 0 || column >= kernel_.width())
    throwInvalidArgument(kMessageIndexOutside, lcMessageArgs(L"KernelWidth"));
  if (row < 0 || row >= kernel_.height())
    throwInvalidArgument(kMessageIndexOutside, lcMessageArgs(L"KernelHeight"));
}

HRESULT CLumIPOneImageConvolveNxM::GetKernelValue(LONG column, LONG row, double* value) {
  if (HRESULT hr = lcClearOutPointers(value); FAILED(hr)) return hr;
  return callBoundary(context(L"GetKernelValue"), [&] {
    checkCell(column, row);
    lcLockGuard guard(core().lock());
    *value = *kernel_.pelAddress(column, row);
  });
}

HRESULT CLumIPOneImageConvolveNxM::SetKernelValue(LONG column, LONG row, double value) {
  return callBoundary(context(L"SetKernelValue"), [&] {
    {
      lcLockGuard guard(core().lock());
      checkCell(column, row);
      if (*kernel_.pelAddress(column, row) == value) return;
      lcPelBuffer<double> changed;  // a snapshot may hold the old values
      changed.allocate(kernel_.width(), kernel_.height());
      for (LONG y = 0; y < kernel_.height(); ++y)
        std::copy_n(kernel_.rowAddress(y), kernel_.width(), changed.rowAddress(y));
      *changed.pelAddress(column, row) = value;
      kernel_ = std::move(changed);
      prepared_.markStale();
    }
    core().fireChange(lumIPOneImageConvolveNxM_GetKernelValue, *lum::Variant(value).ptr(),
                      lumChangeSetByClient);
  });
}

void CLumIPOneImageConvolveNxM::persistCustom(ILumArchive& archive, LONG mode) {
  lcPelBuffer<double> kernel;
  {
    lcLockGuard guard(core().lock());
    kernel = kernel_;
  }
  const bool read =
      persistCoreBytes(archive, mode, L"RawKernel", [&](lcArchive& core) { kernel.archive(core); });
  if (!read) return;
  if (!kernel.isBound() || kernel.width() % 2 == 0 || kernel.height() % 2 == 0) {
    archive.AddProblem(lum::Bstr(L"RawKernel").get(), lum::Bstr(L"<not an odd kernel>").get());
    return;
  }
  lcLockGuard guard(core().lock());
  kernel_ = std::move(kernel);
  prepared_.markStale();
}

CLumIPOneImageConvolveNxM::Snapshot CLumIPOneImageConvolveNxM::snapshot() {
  return prepared_.snapshot(core().lock(), [&] {
    lcConvolveNxMKernel kernel;
    try {
      kernel = lcPrepareConvolveNxM(kernel_);
    } catch (const lcConvolveParams::ZeroKernel&) {
      throwInvalidArgument(uint32_t(e_LumIP_NxMKernelValuesAllZero), lcMessageArgs());
    }
    return lcConvolveNxMParams{std::move(kernel), BoundaryMode == lumIPOneImageBoundaryModeClipped
                                                      ? lcBoundaryMode::Clipped
                                                      : lcBoundaryMode::Reflected};
  });
}

void CLumIPOneImageConvolveNxM::run(const lcPelBuffer<uint8_t>& source,
                                    lcPelBuffer<uint8_t>& result, const Snapshot& kernel, int) {
  lcConvolveNxM(source, result, *kernel);
}

// ---- LumIPOneImageHighPassFilter ----

HRESULT CLumIPOneImageHighPassFilter::get_SigmaX(double* sigma) {
  if (sigma == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *sigma = lcHighPassSigma(SmoothnessX);
  return S_OK;
}

HRESULT CLumIPOneImageHighPassFilter::get_SigmaY(double* sigma) {
  if (sigma == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *sigma = lcHighPassSigma(SmoothnessY);
  return S_OK;
}

void CLumIPOneImageHighPassFilter::run(const lcPelBuffer<uint8_t>& source,
                                       lcPelBuffer<uint8_t>& result, const Parameters& p, int) {
  lcHighPass(source, result, lcHighPassParams{p.SmoothnessX, p.SmoothnessY});
}
