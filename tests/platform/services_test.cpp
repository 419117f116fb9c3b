#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lumxip/platform.h"

namespace {

class RecordingSink final : public lum::EventLogSink {
 public:
  void write(lum::EventType type, std::wstring_view source, std::wstring_view message) override {
    entries.push_back({type, std::wstring(source), std::wstring(message)});
  }
  struct Entry {
    lum::EventType type;
    std::wstring source, message;
  };
  std::vector<Entry> entries;
};

TEST(EventLog, GoesToTheInstalledSinkAndBackToSyslog) {
  auto sink = std::make_shared<RecordingSink>();
  auto previous = lum::setEventLogSink(sink);
  lum::reportEvent(lum::EventType::Error, L"Halvex", L"Can't load string resources: /x");
  ASSERT_EQ(sink->entries.size(), 1u);
  EXPECT_EQ(sink->entries[0].type, lum::EventType::Error);
  EXPECT_EQ(sink->entries[0].source, L"Halvex");
  lum::setEventLogSink(previous);
  lum::reportEvent(lum::EventType::Information, L"lumxip-tests", L"syslog sink works");
  EXPECT_EQ(sink->entries.size(), 1u);
}

TEST(SystemInfo, CounterIsMonotonicAndComputerNameIsShort) {
  LARGE_INTEGER a{}, b{}, frequency{};
  ASSERT_TRUE(QueryPerformanceCounter(&a));
  ASSERT_TRUE(QueryPerformanceCounter(&b));
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  EXPECT_LE(a.QuadPart, b.QuadPart);
  EXPECT_GT(frequency.QuadPart, 0);
  const std::wstring name = lum::localComputerName();
  EXPECT_FALSE(name.empty());
  EXPECT_LE(name.size(), lum::kMaxComputerNameLength);
}

TEST(Locale, OverrideIsScopedAndInvariantIgnoresIt) {
  const wchar_t user = lum::userDecimalSeparator();
  {
    lum::ScopedDecimalSeparator comma(L',');
    EXPECT_EQ(lum::userDecimalSeparator(), L',');
    EXPECT_EQ(lum::decimalSeparatorFor(LOCALE_INVARIANT), L'.');
  }
  EXPECT_EQ(lum::userDecimalSeparator(), user);
}

}  // namespace
