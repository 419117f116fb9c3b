#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "components/histo/histogram.h"
#include "components/histo/pixel_remap.h"
#include "support/conformance.h"

namespace {

// The children of a plot, by name.
struct Plot {
  ComPtr<ILumGraphicCollection> graphics;

  explicit Plot(IDispatch* made) {
    EXPECT_NE(made, nullptr);
    if (made) made->QueryInterface(iid_of<ILumGraphicCollection>, graphics.putVoid());
  }
  std::vector<std::wstring> names() const {
    LONG count = 0;
    graphics->get_Count(&count);
    std::vector<std::wstring> keys;
    for (LONG i = 0; i < count; ++i) {
      lum::Bstr key;
      graphics->get_Key(i, key.put());
      keys.emplace_back(key.view());
    }
    return keys;
  }
  template <class I>
  ComPtr<I> child(const wchar_t* name) const {
    LONG index = -1;
    graphics->FindKey(lum::Bstr(name).get(), &index);
    lum::Variant item;
    ComPtr<I> graphic;
    if (SUCCEEDED(graphics->get_Item(index, item.ptr())) && item.get().punkVal)
      item.get().punkVal->QueryInterface(iid_of<I>, graphic.putVoid());
    EXPECT_TRUE(graphic) << "no child " << std::string(name, name + std::wcslen(name));
    return graphic;
  }
  std::vector<double> vertices(const wchar_t* name) const {
    lum::Variant xy;
    child<ILumPolylineGraphic>(name)->get_Vertices(xy.ptr());
    const auto* values = static_cast<const double*>(xy.get().parray->pvData);
    return std::vector<double>(values, values + xy.get().parray->rgsabound[0].cElements);
  }
  double startX(const wchar_t* name) const {
    double x = -1;
    child<ILumLineGraphic>(name)->get_StartX(&x);
    return x;
  }
};

TEST(HistogramGraphics, OptionsSelectTheChildren) {
  auto result = CLumHistogramResult::make(std::vector<uint64_t>{0, 2, 5, 1});
  const std::vector<std::wstring> axes = {L"Axes", L"Tick1", L"Tick2", L"Tick3", L"Tick4"};
  const struct {
    LONG options;
    std::vector<std::wstring> names;
  } cases[] = {
      {lumHistogramResultGraphicNone, {}},
      {lumHistogramResultGraphicTipText, {}},
      {lumHistogramResultGraphicAxes, axes},
      {lumHistogramResultGraphicHistogram, {L"Histogram"}},
      {lumHistogramResultGraphicCumulativeHistogram, {L"CumulativeHistogram"}},
      {lumHistogramResultGraphicMean | lumHistogramResultGraphicMedian,
       {L"Median", L"MedianLabel", L"Mean", L"MeanLabel"}},
      {lumHistogramResultGraphicAll,
       {L"Histogram", L"CumulativeHistogram", L"Median", L"MedianLabel", L"Mean", L"MeanLabel",
        L"Axes", L"Tick1", L"Tick2", L"Tick3", L"Tick4"}},
  };
  for (const auto& c : cases) {
    ComPtr<IDispatch> made;
    ASSERT_EQ(result->CreateResultGraphics(c.options, made.put()), S_OK);
    EXPECT_EQ(Plot(made.get()).names(), c.names) << "options " << c.options;
  }
  ComPtr<IDispatch> made;
  ASSERT_EQ(result->CreateResultGraphics(lumHistogramResultGraphicAll, made.put()), S_OK);
  const Plot all(made.get());
  LONG median = 0, mean = 0;
  all.child<ILumGraphic>(L"Median")->get_Color(&median);
  all.child<ILumGraphic>(L"MeanLabel")->get_Color(&mean);
  EXPECT_EQ(std::pair(median, mean), std::pair(lumColorYellow, lumColorWhite));
  VARIANT_BOOL tip = VARIANT_FALSE;
  all.child<ILumGraphic>(L"Tick4")->get_TipTextEnabled(&tip);
  EXPECT_EQ(tip, VARIANT_TRUE);
  double tickX = 0, tickTop = 0, tickBottom = 0;
  all.child<ILumLineGraphic>(L"Tick4")->get_StartX(&tickX);
  all.child<ILumLineGraphic>(L"Tick4")->get_StartY(&tickTop);
  all.child<ILumLineGraphic>(L"Tick4")->get_EndY(&tickBottom);
  EXPECT_EQ(std::vector<double>({tickX, tickTop, tickBottom}),
            std::vector<double>({256, 252, 260}));
  // Four bins, the largest 5: bin i at x = i, 5 at the top of the plot area.
  EXPECT_EQ(all.vertices(L"Histogram"),
            std::vector<double>({0, 256, 1, 256 - 2 * 256.0 / 5, 2, 0, 3, 256 - 256.0 / 5}));
  EXPECT_EQ(all.vertices(L"CumulativeHistogram").back(), 0.0);
  ASSERT_EQ(result->CreateResultGraphics(lumHistogramResultGraphicMean, made.put()), S_OK);
  Plot(made.get()).child<ILumGraphic>(L"Mean")->get_TipTextEnabled(&tip);
  EXPECT_EQ(tip, VARIANT_FALSE);
}

// 4096 bins are drawn as 256 of 16 each; median and mean move to those positions.
TEST(HistogramGraphics, MoreThan256BinsAreScaledToTheDisplay) {
  std::vector<uint64_t> bins(4096);
  bins[1000] = 3, bins[3000] = 1;  // median 1000, mean 1500
  ComPtr<IDispatch> made;
  ASSERT_EQ(CLumHistogramResult::make(bins)->CreateResultGraphics(lumHistogramResultGraphicAll,
                                                                  made.put()),
            S_OK);
  const Plot plot(made.get());
  EXPECT_EQ(plot.startX(L"Median"), 63.0);  // 1000 / 4096 * 256 = 62.5, rounded half up
  EXPECT_EQ(plot.startX(L"Mean"), 93.75);
  const std::vector<double> xy = plot.vertices(L"Histogram");
  ASSERT_EQ(xy.size(), 512u);
  EXPECT_EQ(xy[2 * 62 + 1], 0.0);  // display bin 62 holds the three of bin 1000
  EXPECT_DOUBLE_EQ(xy[2 * 187 + 1], 256 - 256.0 / 3);
  EXPECT_EQ(xy[2 * 255], 255.0);
  lum::Bstr label;
  plot.child<ILumTextGraphic>(L"MedianLabel")->get_Text(label.put());
  EXPECT_EQ(label.view(), L"1000.00");
}

TEST(PixelMapGraphics, TablesArePlottedOverTheAxes) {
  auto map = lumtest::conformance::make<CLumIPOneImagePixelMap>();
  lum::Variant inverted;
  inverted.ptr()->vt = VT_ARRAY | VT_UI1;
  inverted.ptr()->parray = SafeArrayCreateVector(VT_UI1, 0, 256);
  for (int i = 0; i < 256; ++i)
    static_cast<uint8_t*>(inverted.get().parray->pvData)[i] = static_cast<uint8_t>(255 - i);
  ASSERT_EQ(map->put_Plane1Map(inverted.get()), S_OK);
  ComPtr<IDispatch> made;
  ASSERT_EQ(map->CreateGraphics(0x123456, made.put()), S_OK);
  const Plot identity(made.get());
  EXPECT_EQ(identity.names(), std::vector<std::wstring>({L"Map", L"Axes"}));
  LONG color = 0;
  identity.child<ILumGraphic>(L"Map")->get_Color(&color);
  EXPECT_EQ(color, 0x123456);
  const std::vector<double> diagonal = identity.vertices(L"Map");
  ASSERT_EQ(diagonal.size(), 512u);
  EXPECT_EQ(std::vector<double>(diagonal.begin(), diagonal.begin() + 2),
            std::vector<double>({0, 256}));
  EXPECT_EQ(std::vector<double>(diagonal.end() - 2, diagonal.end()), std::vector<double>({256, 0}));
  ASSERT_EQ(map->CreatePlanarGraphics(0, 1, made.put()), S_OK);
  const std::vector<double> falling = Plot(made.get()).vertices(L"Map");
  EXPECT_EQ(std::vector<double>(falling.begin(), falling.begin() + 2), std::vector<double>({0, 0}));
  EXPECT_EQ(map->CreatePlanarGraphics(0, 3, made.put()), E_INVALIDARG);
  EXPECT_EQ(map->CreateGraphics(-1, made.put()), E_INVALIDARG);
  EXPECT_EQ(made.get(), nullptr);
}

}  // namespace
