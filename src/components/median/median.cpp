#include "components/median/median.h"

#include "lumxip/HalvexImageProcessing.h"

void CLumIPOneImageMedian3x3::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                  const Parameters&, int) {
  lcMedian3x3(source, result);
}

HRESULT CLumIPOneImageMedianNxM::get_KernelWidth(LONG* width) {
  if (width == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *width = mask_.width();
  return S_OK;
}

HRESULT CLumIPOneImageMedianNxM::get_KernelHeight(LONG* height) {
  if (height == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *height = mask_.height();
  return S_OK;
}

void CLumIPOneImageMedianNxM::resize(LONG width, LONG height, DISPID stateId, LONG area) {
  {
    lcLockGuard guard(core().lock());
    if (!mask_.resize(width == 0 ? mask_.width() : width, height == 0 ? mask_.height() : height))
      return;
  }
  core().fireChange(stateId, lumChangeSetByClient | area);
}

HRESULT CLumIPOneImageMedianNxM::put_KernelWidth(LONG width) {
  return callBoundary(context(L"put_KernelWidth"), [&] {
    lcCheckKernelSize(width);
    resize(width, 0, lumIPOneImageMedianNxM_KernelWidth, lumFA_IPOneImageMedianNxM_Width);
  });
}

HRESULT CLumIPOneImageMedianNxM::put_KernelHeight(LONG height) {
  return callBoundary(context(L"put_KernelHeight"), [&] {
    lcCheckKernelSize(height);
    resize(0, height, lumIPOneImageMedianNxM_KernelHeight, lumFA_IPOneImageMedianNxM_Height);
  });
}

HRESULT CLumIPOneImageMedianNxM::GetMaskValue(LONG column, LONG row, VARIANT_BOOL* care) {
  if (care == nullptr) return E_POINTER;
  *care = VARIANT_FALSE;
  return callBoundary(context(L"GetMaskValue"), [&] {
    lcLockGuard guard(core().lock());
    *care = mask_.get(column, row) != 0 ? VARIANT_TRUE : VARIANT_FALSE;
  });
}

HRESULT CLumIPOneImageMedianNxM::SetMaskValue(LONG column, LONG row, VARIANT_BOOL care) {
  return callBoundary(context(L"SetMaskValue"), [&] {
    {
      lcLockGuard guard(core().lock());
      if (!mask_.set(column, row, care != 0 ? 255 : 0)) return;
    }
    core().fireChange(lumIPOneImageMedianNxM_GetMaskValue,
                      *lum::Variant(care != 0 ? VARIANT_TRUE : VARIANT_FALSE).ptr(),
                      lumChangeSetByClient);
  });
}

void CLumIPOneImageMedianNxM::persistCustom(ILumArchive& archive, LONG mode) {
  lcPelBuffer<uint8_t> cells;
  {
    lcLockGuard guard(core().lock());
    cells = mask_.cells();
  }
  if (!lcKernelGrid<uint8_t>::persist(archive, mode, L"KernelMask", cells)) return;
  lcLockGuard guard(core().lock());
  mask_.adopt(std::move(cells));
}

CLumIPOneImageMedianNxM::Snapshot CLumIPOneImageMedianNxM::snapshot() {
  lcLockGuard guard(core().lock());
  return {mask_.cells(),
          lcMaskImageBuffer(InputImageMask.get(), InputImageMaskOffsetX, InputImageMaskOffsetY)};
}

void CLumIPOneImageMedianNxM::run(const lcPelBuffer<uint8_t>& source, lcPelBuffer<uint8_t>& result,
                                  const Snapshot& p, int) {
  lcMedianNxM(source, result, p);
}

void CLumIPOneImageMedianNxM::run(const lcPelBuffer<uint16_t>& source,
                                  lcPelBuffer<uint16_t>& result, const Snapshot& p) {
  lcMedianNxM(source, result, p);
}

void CLumIPOneImageMedianNxM::run(const lcPelBufferRange16& source, lcPelBufferRange16& result,
                                  const Snapshot& p) {
  lcMedianNxM(source, result, p);
}
