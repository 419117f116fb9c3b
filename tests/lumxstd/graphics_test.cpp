#include <gtest/gtest.h>

#include "lumxstd/graphics.h"
#include "support/conformance.h"
#include "support/core_objects.h"

using Graphics = ::testing::Types<lumxstd::CLumLineGraphic, lumxstd::CLumPolylineGraphic,
                                  lumxstd::CLumTextGraphic, lumxstd::CLumGraphicCollection>;
INSTANTIATE_TYPED_TEST_SUITE_P(Graphics, ComponentConformance, Graphics);

namespace {

using lumtest::create;

lum::Variant doubles(std::initializer_list<double> values) {
  lum::Variant array;
  array.ptr()->vt = VT_ARRAY | VT_R8;
  array.ptr()->parray = SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(values.size()));
  std::copy(values.begin(), values.end(), static_cast<double*>(array.get().parray->pvData));
  return array;
}

TEST(Graphics, PolylineTakesOnlyPairsOfDoubles) {
  auto polyline = create<ILumPolylineGraphic>(CLSID_LumPolylineGraphic);
  EXPECT_EQ(polyline->put_Vertices(doubles({1, 2, 3, 4}).get()), S_OK);
  EXPECT_EQ(polyline->put_Vertices(doubles({1, 2, 3}).get()), E_INVALIDARG);
  EXPECT_EQ(polyline->put_Vertices(lum::Variant(1.0).get()), E_INVALIDARG);
  lum::Variant held;
  ASSERT_EQ(polyline->get_Vertices(held.ptr()), S_OK);
  ASSERT_EQ(held.type(), VT_ARRAY | VT_R8);
  EXPECT_EQ(held.get().parray->rgsabound[0].cElements, 4u);
  auto line = create<ILumGraphic>(CLSID_LumLineGraphic);
  EXPECT_EQ(line->put_Color(0x01000000), E_INVALIDARG);
}

// The collection holds graphics only, under their names, and copies them with itself.
TEST(Graphics, CollectionHoldsNamedGraphicsThroughCopies) {
  auto graphics = create<ILumGraphicCollection>(CLSID_LumGraphicCollection);
  auto label = create<ILumTextGraphic>(CLSID_LumTextGraphic);
  label->put_Text(lum::Bstr(L"Mean").get());
  label->put_Color(lumColorWhite);
  ASSERT_EQ(graphics->Add(lum::Variant(static_cast<IDispatch*>(label.get())).get(),
                          lum::Bstr(L"MeanLabel").get(), -1),
            S_OK);
  auto region = create<IDispatch>(CLSID_LumRectangle);
  EXPECT_NE(graphics->Add(lum::Variant(region.get()).get(), lum::Bstr(L"Region").get(), -1), S_OK);
  for (const ComPtr<ILumGraphicCollection>& copy :
       {lumtest::saveAndLoad(graphics.get()), lumtest::cloneOf(graphics.get())}) {
    ASSERT_TRUE(copy);
    LONG index = -1, count = 0;
    copy->get_Count(&count);
    copy->FindKey(lum::Bstr(L"MeanLabel").get(), &index);
    ASSERT_EQ(std::pair(count, index), (std::pair<LONG, LONG>(1, 0)));
    lum::Variant item;
    ASSERT_EQ(copy->get_Item(0, item.ptr()), S_OK);
    ComPtr<ILumTextGraphic> copied;
    ASSERT_EQ(item.get().punkVal->QueryInterface(iid_of<ILumTextGraphic>, copied.putVoid()), S_OK);
    EXPECT_NE(copied.get(), label.get());
    lum::Bstr text;
    LONG color = 0;
    copied->get_Text(text.put());
    copied->get_Color(&color);
    EXPECT_EQ(text.view(), L"Mean");
    EXPECT_EQ(color, lumColorWhite);
  }
}

}  // namespace
