#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <atomic>
#include <string>

#include "platform/bstr.h"

namespace lum {
namespace {

// The separator of the locale the environment names, read without touching the
// process's own locale.
wchar_t separatorFromEnvironment() {
  locale_t locale = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return L'.';
  const char* radix = nl_langinfo_l(RADIXCHAR, locale);
  const std::wstring wide = radix ? fromUtf8(radix) : std::wstring();
  freelocale(locale);
  return wide.size() == 1 ? wide[0] : L'.';
}

std::atomic<wchar_t> gOverride{0};

}  // namespace

wchar_t userDecimalSeparator() {
  if (const wchar_t forced = gOverride.load(std::memory_order_acquire)) return forced;
  static const wchar_t fromEnvironment = separatorFromEnvironment();
  return fromEnvironment;
}

wchar_t decimalSeparatorFor(LCID lcid) {
  return lcid == LOCALE_INVARIANT ? L'.' : userDecimalSeparator();
}

ScopedDecimalSeparator::ScopedDecimalSeparator(wchar_t separator)
    : previous_(gOverride.exchange(separator, std::memory_order_acq_rel)) {}

ScopedDecimalSeparator::~ScopedDecimalSeparator() {
  gOverride.store(previous_, std::memory_order_release);
}

}  // namespace lum
