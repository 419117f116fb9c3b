#include "lumxstd/stopwatch.h"

namespace lumxstd {

double CLumStopwatch::reading() const {
  if (!running_) return accumulated_;
  return accumulated_ + std::chrono::duration<double, std::milli>(Clock::now() - started_).count();
}

HRESULT CLumStopwatch::Reset() {
  lcLockGuard guard(core().lock());
  accumulated_ = 0;
  running_ = false;
  return S_OK;
}

HRESULT CLumStopwatch::Start() {
  lcLockGuard guard(core().lock());
  if (!running_) {
    started_ = Clock::now();
    running_ = true;
  }
  return S_OK;
}

HRESULT CLumStopwatch::Stop() {
  lcLockGuard guard(core().lock());
  accumulated_ = reading();
  running_ = false;
  return S_OK;
}

HRESULT CLumStopwatch::get_ElapsedTime(double* milliseconds) {
  if (milliseconds == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *milliseconds = reading();
  return S_OK;
}

HRESULT CLumStopwatch::get_Running(VARIANT_BOOL* running) {
  if (running == nullptr) return E_POINTER;
  lcLockGuard guard(core().lock());
  *running = running_ ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

void CLumStopwatch::persistCustom(ILumArchive& archive, LONG mode) {
  double elapsed = 0;
  {
    lcLockGuard guard(core().lock());
    elapsed = reading();
  }
  const lum::Bstr name(L"ElapsedTime");
  const HRESULT hr = archive.PersistR8(name.get(), &elapsed);
  throwIfFailed(hr);
  if ((mode & lumPersistWriting) || hr != S_OK) return;
  lcLockGuard guard(core().lock());
  accumulated_ = elapsed;
  running_ = false;
}

}  // namespace lumxstd
