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

  // An enumeration of single bits names its members 1, 2, 4, ...
  static constexpr const wchar_t* kBitNames[] = {L"one", L"two", L"four"};
  lcMemberDescription bits;
  lum::detail::describeEnumeration(singleBitOf(LONG{4}, kBitNames), bits);
  EXPECT_EQ(bits.enumerationValues, (std::vector<LONG>{1, 2, 4}));
  EXPECT_EQ(bits.enumerationNames.back(), L"four");
}

TEST(ComponentDescription, ReachesHostsThroughTheMemberDescriptionsInterface) {
  ComPtr<ILumMemberDescriptions> described;
  ASSERT_EQ(
      CTestWidget::createInstance(nullptr, iid_of<ILumMemberDescriptions>, described.putVoid()),
      S_OK);
  const auto members = describeMembers<CTestWidget>();
  LONG count = 0;
  ASSERT_EQ(described->get_MemberCount(&count), S_OK);
  ASSERT_EQ(count, static_cast<LONG>(members.size()));
  const auto mode =
      std::find_if(members.begin(), members.end(), [](const auto& d) { return d.name == L"Mode"; });
  const LONG index = static_cast<LONG>(mode - members.begin());
  lum::Bstr name, kind, defaultValue, description;
  DISPID dispid = 0;
  VARTYPE type = VT_EMPTY;
  ASSERT_EQ(described->GetMember(index, name.put(), &dispid, kind.put(), &type, defaultValue.put(),
                                 description.put()),
            S_OK);
  EXPECT_EQ(name.view(), L"Mode");
  EXPECT_EQ(dispid, mode->dispid);
  EXPECT_EQ(type, VT_I4);
  lum::Variant names, values;
  ASSERT_EQ(described->GetEnumeration(index, names.put(), values.put()), S_OK);
  LONG last = 1, value = -1;
  BSTR second = nullptr;
  ASSERT_EQ(SafeArrayGetElement(names.get().parray, &last, &second), S_OK);
  EXPECT_EQ(lum::bstrView(second), L"testWidgetModeExact");
  SysFreeString(second);
  ASSERT_EQ(SafeArrayGetElement(values.get().parray, &last, &value), S_OK);
  EXPECT_EQ(value, testWidgetModeExact);

  EXPECT_EQ(described->GetMember(count, name.put(), &dispid, kind.put(), &type, defaultValue.put(),
                                 description.put()),
            E_INVALIDARG);
  EXPECT_EQ(described->GetEnumeration(-1, names.put(), values.put()), E_INVALIDARG);
  EXPECT_EQ(described->GetEnumeration(0, nullptr, values.put()), E_POINTER);
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
