#include "platform/system_info.h"

#include <unistd.h>

#include <chrono>

#include "platform/bstr.h"

BOOL QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (count == nullptr) return FALSE;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  count->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (frequency == nullptr) return FALSE;
  frequency->QuadPart = 1'000'000'000;  // nanosecond ticks
  return TRUE;
}

namespace lum {

std::wstring localComputerName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return std::wstring();
  std::wstring wide = fromUtf8(name);
  if (wide.size() > kMaxComputerNameLength) wide.resize(kMaxComputerNameLength);
  return wide;
}

}  // namespace lum
