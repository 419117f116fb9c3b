// The enumerations every registered component describes: what a host lists and what the
// command accepts by name must be exactly what the property's check takes.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "lumxip/HalvexImageProcessing.h"
#include "lumxip/ip/member_descriptions.h"
#include "support/core_objects.h"
#include "support/dispatch_call.h"

namespace {

std::vector<LONG> valuesOf(const lum::Variant& values) {
  std::vector<LONG> all;
  SAFEARRAY* array = values.get().parray;
  LONG low = 0, high = -1;
  if (array == nullptr || SafeArrayGetLBound(array, 1, &low) != S_OK ||
      SafeArrayGetUBound(array, 1, &high) != S_OK)
    return all;
  for (LONG i = low; i <= high; ++i) {
    LONG value = 0;
    SafeArrayGetElement(array, &i, &value);
    all.push_back(value);
  }
  return all;
}

// Every named value is taken, and the value after the largest is refused.
TEST(EveryComponent, NamesExactlyTheValuesItsEnumerationsTake) {
  int enumerations = 0;
  for (const auto& made : lumtest::oneOfEveryRegisteredClass()) {
    const auto described = made.object.as<ILumMemberDescriptions>();
    const auto dispatch = made.object.as<IDispatch>();
    if (!described || !dispatch) continue;
    LONG count = 0;
    described->get_MemberCount(&count);
    for (LONG index = 0; index < count; ++index) {
      lum::Bstr name, kind, defaultValue, description;
      DISPID dispid = 0;
      VARTYPE type = VT_EMPTY;
      lum::Variant names, values;
      ASSERT_EQ(described->GetMember(index, name.put(), &dispid, kind.put(), &type,
                                     defaultValue.put(), description.put()),
                S_OK);
      ASSERT_EQ(described->GetEnumeration(index, names.put(), values.put()), S_OK);
      const std::vector<LONG> taken = valuesOf(values);
      if (kind.view() != L"property" || taken.empty()) continue;
      ++enumerations;
      const std::string where = made.name + "." + lum::toUtf8(name.view());
      for (LONG value : taken)
        EXPECT_EQ(
            lumtest::call(dispatch.get(), name.get(), DISPATCH_PROPERTYPUT, {lum::Variant(value)}),
            S_OK)
            << where << " = " << value;
      const LONG beyond = *std::max_element(taken.begin(), taken.end()) + 1;
      EXPECT_NE(
          lumtest::call(dispatch.get(), name.get(), DISPATCH_PROPERTYPUT, {lum::Variant(beyond)}),
          S_OK)
          << where << " = " << beyond;
    }
  }
  EXPECT_GE(enumerations, 30);
}

}  // namespace
