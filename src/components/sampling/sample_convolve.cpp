#include "components/sampling/sample_convolve.h"

#include <cmath>

#include "components/framework/core_bytes.h"
#include "ip/smplconv/gauss_kernels.h"

namespace {

inline constexpr uint32_t kMessageTooLarge = 0x80048107;

// What a loaded "LVLParams" must satisfy: what the setters let through (a kernel of zeros
// can be built weight by weight, so it is kept and refused only when the operator runs).
bool settable(const lcSampleConvolveParams& p) {
  for (const auto* kernel : {&p.kernelX, &p.kernelY}) {
    if (kernel->size() % 2 == 0 || kernel->size() > std::size_t(lcMaxSampleKernelSize))
      return false;
    for (int32_t w : *kernel)
      if (w < -lcMaxSampleKernelWeight || w > lcMaxSampleKernelWeight) return false;
  }
  return p.sampleX > 0 && p.sampleY > 0;
}

void transferKernel(lcArchive& core, std::vector<int32_t>& kernel) {
  uint64_t count = kernel.size();
  core.transferCount(count, sizeof(int32_t));
  if (count > uint64_t(lcMaxSampleKernelSize))
    throw lcArchive::BadContent(L"a kernel of more than 127 weights");
  kernel.resize(std::size_t(count));
  core.transfer(std::span<int32_t>(kernel));
}

}  // namespace

struct CLumIPOneImageSampleConvolve::Axis {
  std::vector<int32_t> CLumIPOneImageSampleConvolve::*kernel;
  DISPID sizeId;
  LONG sizeArea;
  DISPID valueId;
  const wchar_t* sizeName;
  const wchar_t* valueName;
  const wchar_t* getSize;
  const wchar_t* putSize;
  const wchar_t* getValue;
  const wchar_t* setValue;
};

const CLumIPOneImageSampleConvolve::Axis CLumIPOneImageSampleConvolve::kX{
    &CLumIPOneImageSampleConvolve::kernelX_,
    lumIPOneImageSampleConvolve_KernelXSize,
    lumFA_IPOneImageSampleConvolve_KernelXSize,
    lumIPOneImageSampleConvolve_GetKernelXValue,
    L"KernelXSize",
    L"KernelXValue",
    L"get_KernelXSize",
    L"put_KernelXSize",
    L"GetKernelXValue",
    L"SetKernelXValue"};
const CLumIPOneImageSampleConvolve::Axis CLumIPOneImageSampleConvolve::kY{
    &CLumIPOneImageSampleConvolve::kernelY_,
    lumIPOneImageSampleConvolve_KernelYSize,
    lumFA_IPOneImageSampleConvolve_KernelYSize,
    lumIPOneImageSampleConvolve_GetKernelYValue,
    L"KernelYSize",
    L"KernelYValue",
    L"get_KernelYSize",
    L"put_KernelYSize",
    L"GetKernelYValue",
    L"SetKernelYValue"};

HRESULT CLumIPOneImageSampleConvolve::FinalConstruct() {
  if (HRESULT hr = lcIPOneImageOperatorImpl::FinalConstruct(); FAILED(hr)) return hr;
  return callBoundary(context(L"FinalConstruct"),
                      [&] { kernelX_ = kernelY_ = lcGaussKernel(lcGaussSampleSigma(1.0)); });
}

HRESULT CLumIPOneImageSampleConvolve::getSize(const Axis& axis, LONG* size) {
  if (size == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *size = LONG((this->*axis.kernel).size());
  return S_OK;
}

HRESULT CLumIPOneImageSampleConvolve::putSize(const Axis& axis, LONG size) {
  return callBoundary(context(axis.putSize), [&] {
    if (size < 1)
      throwInvalidArgument(kMessageLessThan, lcMessageArgs::texts({axis.sizeName, L"1"}));
    if (size > lcMaxSampleKernelSize)
      throwInvalidArgument(kMessageTooLarge, lcMessageArgs::texts({axis.sizeName, L"127"}));
    if (size % 2 == 0) throw lcCOMError(E_INVALIDARG, 0);
    {
      lcLockGuard guard(core().lock());
      auto& kernel = this->*axis.kernel;
      if (kernel.size() == std::size_t(size)) return;
      kernel.resize(std::size_t(size), 0);
    }
    core().fireChange(axis.sizeId, *lum::Variant(size).ptr(), lumChangeSetByClient | axis.sizeArea);
  });
}

HRESULT CLumIPOneImageSampleConvolve::getValue(const Axis& axis, LONG index, LONG* value) {
  if (HRESULT hr = lcClearOutPointers(value); FAILED(hr)) return hr;
  return callBoundary(context(axis.getValue), [&] {
    lcLockGuard guard(core().lock());
    const auto& kernel = this->*axis.kernel;
    if (index < 0 || std::size_t(index) >= kernel.size())
      throwInvalidArgument(kMessageIndexOutside, lcMessageArgs::texts({L"Index", axis.sizeName}));
    *value = kernel[std::size_t(index)];
  });
}

HRESULT CLumIPOneImageSampleConvolve::setValue(const Axis& axis, LONG index, LONG value) {
  return callBoundary(context(axis.setValue), [&] {
    inRange<LONG>(-lcMaxSampleKernelWeight, lcMaxSampleKernelWeight, L"-128", L"128")(
        axis.valueName, value);
    {
      lcLockGuard guard(core().lock());
      auto& kernel = this->*axis.kernel;
      if (index < 0 || std::size_t(index) >= kernel.size())
        throwInvalidArgument(kMessageIndexOutside, lcMessageArgs::texts({L"Index", axis.sizeName}));
      if (kernel[std::size_t(index)] == value) return;
      kernel[std::size_t(index)] = value;
    }
    core().fireChange(axis.valueId, *lum::Variant(value).ptr(), lumChangeSetByClient);
  });
}

HRESULT CLumIPOneImageSampleConvolve::get_KernelXSize(LONG* size) {
  return getSize(kX, size);
}
HRESULT CLumIPOneImageSampleConvolve::put_KernelXSize(LONG size) {
  return putSize(kX, size);
}
HRESULT CLumIPOneImageSampleConvolve::get_KernelYSize(LONG* size) {
  return getSize(kY, size);
}
HRESULT CLumIPOneImageSampleConvolve::put_KernelYSize(LONG size) {
  return putSize(kY, size);
}
HRESULT CLumIPOneImageSampleConvolve::GetKernelXValue(LONG index, LONG* value) {
  return getValue(kX, index, value);
}
HRESULT CLumIPOneImageSampleConvolve::SetKernelXValue(LONG index, LONG value) {
  return setValue(kX, index, value);
}
HRESULT CLumIPOneImageSampleConvolve::GetKernelYValue(LONG index, LONG* value) {
  return getValue(kY, index, value);
}
HRESULT CLumIPOneImageSampleConvolve::SetKernelYValue(LONG index, LONG value) {
  return setValue(kY, index, value);
}

void CLumIPOneImageSampleConvolve::store(std::vector<int32_t> kernelX, std::vector<int32_t> kernelY,
                                         double sampleX, double sampleY, LONG stateId,
                                         const lum::Variant& value, LONG flags) {
  {
    lcLockGuard guard(core().lock());
    if (kernelX == kernelX_ && kernelY == kernelY_ && sampleX == SampleX && sampleY == SampleY)
      return;
    kernelX_.swap(kernelX);
    kernelY_.swap(kernelY);
    SampleX = sampleX;
    SampleY = sampleY;
  }
  core().fireChange(stateId, *value.ptr(), flags);
}

HRESULT CLumIPOneImageSampleConvolve::SetGaussSample(double sampleX, double sampleY) {
  return callBoundary(context(L"SetGaussSample"), [&] {
    constexpr auto rate = greaterThan(0.0, L"0");
    rate(L"SampleX", sampleX);
    rate(L"SampleY", sampleY);
    store(lcGaussKernel(lcGaussSampleSigma(sampleX)), lcGaussKernel(lcGaussSampleSigma(sampleY)),
          sampleX, sampleY, lumStateSeveralChanged, lum::Variant(),
          lumChangeSetByClient | lumFA_IPOneImageSampleConvolve_SetGaussSample);
  });
}

HRESULT CLumIPOneImageSampleConvolve::SetGaussSigma(double sigmaX, double sigmaY) {
  return callBoundary(context(L"SetGaussSigma"), [&] {
    constexpr auto sigma = notBelow(0.0, L"0");
    sigma(L"SigmaX", sigmaX);
    sigma(L"SigmaY", sigmaY);
    double sampleX = 0, sampleY = 0;
    {
      lcLockGuard guard(core().lock());
      sampleX = SampleX;
      sampleY = SampleY;
    }
    store(lcGaussKernel(sigmaX), lcGaussKernel(sigmaY), sampleX, sampleY, lumStateSeveralChanged,
          lum::Variant(), lumChangeSetByClient | lumFA_IPOneImageSampleConvolve_SetGaussSigma);
  });
}

void CLumIPOneImageSampleConvolve::persistCustom(ILumArchive& archive, LONG mode) {
  lcSampleConvolveParams params = snapshot();
  const bool read = persistCoreBytes(archive, mode, L"LVLParams", [&](lcArchive& core) {
    core.transferVersion(1, __FILE__, __LINE__);
    core.transfer(params.sampleX);
    core.transfer(params.sampleY);
    transferKernel(core, params.kernelX);
    transferKernel(core, params.kernelY);
  });
  if (!read) return;
  if (!settable(params)) {
    archive.AddProblem(lum::Bstr(L"LVLParams").get(), lum::Bstr(L"<not sample kernels>").get());
    return;
  }
  lcLockGuard guard(core().lock());
  kernelX_ = std::move(params.kernelX);
  kernelY_ = std::move(params.kernelY);
  SampleX = params.sampleX;
  SampleY = params.sampleY;
}

lcSampleConvolveParams CLumIPOneImageSampleConvolve::snapshot() {
  lcLockGuard guard(core().lock());
  return {kernelX_, kernelY_, SampleX, SampleY};
}

void CLumIPOneImageSampleConvolve::run(const lcPelBuffer<uint8_t>& source,
                                       lcPelBuffer<uint8_t>& result,
                                       const lcSampleConvolveParams& params, int) {
  lcSampleConvolve(source, result, params);
}

void CLumIPOneImageSampleConvolve::run(const lcPelBuffer<uint16_t>& source,
                                       lcPelBuffer<uint16_t>& result,
                                       const lcSampleConvolveParams& params) {
  lcSampleConvolve(source, result, params);
}
