#pragma once
// The user's number format as conversions need it. The decimal separator is read once
// from the environment (LC_ALL, LC_NUMERIC, LANG) through newlocale, never through the
// process-wide setlocale; tests override it.

#include "platform/export.h"
#include "platform/types.h"

namespace lum {

// The decimal separator of the user's locale ('.' when the locale cannot be read).
LUM_PLATFORM_API wchar_t userDecimalSeparator();
// The separator a conversion in locale `lcid` uses: '.' for LOCALE_INVARIANT, else the
// user's.
LUM_PLATFORM_API wchar_t decimalSeparatorFor(LCID lcid);

// Replaces the user's decimal separator for the whole process while it lives.
class LUM_VISIBLE ScopedDecimalSeparator {
 public:
  explicit ScopedDecimalSeparator(wchar_t separator);
  ~ScopedDecimalSeparator();
  ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
  ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

 private:
  wchar_t previous_;
};

}  // namespace lum
