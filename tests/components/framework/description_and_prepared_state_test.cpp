#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "components/framework/component_description.h"
#include "components/framework/prepared_state.h"
#include "support/test_widget.h"

namespace {

const lcMemberDescription& find(const std::vector<lcMemberDescription>& all, const wchar_t* name) {
  auto it = std::find_if(all.begin(), all.end(), [&](const auto& d) { return d.name == name; });
  EXPECT_NE(it, all.end()) << lum::toUtf8(name);
  return *it;
}

TEST(ComponentDescription, ListsEveryMemberWithTypeDefaultAndEnumerationNames) {
  const auto members = describeMembers<CTestWidget>();
  EXPECT_EQ(members.front().name, L"HasChanged") << "inherited members come first";
  const auto& mode = find(members, L"Mode");
  EXPECT_EQ(mode.kind, L"property");
  EXPECT_EQ(mode.type, VT_I4);
  EXPECT_EQ(mode.enumerationNames,
            (std::vector<std::wstring>{L"testWidgetModeFast", L"testWidgetModeExact"}));
  EXPECT_EQ(find(members, L"Scale").defaultValue, L"1");
  EXPECT_EQ(find(members, L"Enabled").defaultValue, L"True");
  EXPECT_EQ(find(members, L"Label").defaultValue, L"unnamed");
  EXPECT_EQ(find(members, L"Tag").persistedAs, L"Tag");
  EXPECT_EQ(find(members, L"Combine").kind, L"method");
  EXPECT_EQ(find(members, L"Weight").kind, L"indexed property");
}

TEST(PreparedState, RebuildsOnlyWhenStaleAndKeepsSnapshotsInUse) {
  lcRecursiveLock lock;
  lcPreparedState<int> state;
  int builds = 0;
  auto build = [&] { return ++builds * 10; };
  auto first = state.snapshot(lock, build);
  auto again = state.snapshot(lock, build);
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(first.get(), again.get());
  {
    lcLockGuard guard(lock);
    state.markStale();
  }
  auto rebuilt = state.snapshot(lock, build);
  EXPECT_EQ(*rebuilt, 20);
  EXPECT_EQ(*first, 10) << "a snapshot in use is never changed";

  // Two threads taking snapshots while a third marks stale: every snapshot is whole.
  std::thread writer([&] {
    for (int i = 0; i < 1000; ++i) {
      lcLockGuard guard(lock);
      state.markStale();
    }
  });
  for (int i = 0; i < 1000; ++i)
    EXPECT_EQ(*state.snapshot(lock, build) % 10, 0);
  writer.join();
}

}  // namespace
