#include <gtest/gtest.h>

#include "components/histo/pixel_remap.h"
#include "persist/internal/archive_class.h"
#include "platform/safearray.h"
#include "support/conformance.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"
#include "support/operator_runs.h"

using namespace lumtest;

using RemapOperators =
    ::testing::Types<CLumIPOneImagePixelMap, CLumIPOneImageEqualize, CLumIPOneImageQuantize>;
INSTANTIATE_TYPED_TEST_SUITE_P(PixelRemap, ComponentConformance, RemapOperators);

namespace {

// A VT_ARRAY | VT_UI1 value of `count` bytes from `lower`, entry i = f(i).
template <class F>
lum::Variant byteArray(ULONG count, LONG lower, F f) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, lower, count);
  for (ULONG i = 0; i < count; ++i)
    static_cast<uint8_t*>(array->pvData)[i] = static_cast<uint8_t>(f(int(i)));
  lum::Variant value;
  value.ptr()->vt = VT_ARRAY | VT_UI1;
  value.ptr()->parray = array;
  return value;
}

lum::Variant table(int (*f)(int)) {
  return byteArray(256, 0, f);
}

int tableEntry(const lum::Variant& value, int i) {
  return static_cast<const uint8_t*>(value.get().parray->pvData)[i];
}

}  // namespace

TEST(PixelMap, DefaultTablesLeaveGreyAndColourImagesAsTheyAre) {
  auto op = conformance::make<CLumIPOneImagePixelMap>();
  auto grey = grey8Image(5, 3, [](int x, int y) { return 50 * x + y; });
  EXPECT_EQ(pixels8(execute(op.get(), grey.get()).get()), pixels8(grey.get()));
  auto colour = planarImage(4, 2, [](int x, int y) { return 60 * x + y; });
  auto output = execute(op.get(), colour.get());
  for (int p = 0; p < 3; ++p)
    EXPECT_EQ(planePixels(output.get(), p), planePixels(colour.get(), p)) << p;
}

TEST(PixelMap, GreyUsesMapAndColourOneTablePerPlane) {
  auto op = conformance::make<CLumIPOneImagePixelMap>();
  ASSERT_EQ(op->put_Map(*table([](int i) { return 255 - i; }).ptr()), S_OK);
  ASSERT_EQ(op->put_Plane0Map(*table([](int i) { return i / 2; }).ptr()), S_OK);
  ASSERT_EQ(op->put_Plane1Map(*table([](int i) { return i ^ 0x0F; }).ptr()), S_OK);
  ASSERT_EQ(op->put_Plane2Map(*table([](int) { return 7; }).ptr()), S_OK);
  auto grey = grey8Image(3, 2, [](int x, int y) { return 100 * x + y; });
  EXPECT_EQ(pixels8(execute(op.get(), grey.get()).get())[1][2], 255 - 201);
  auto output =
      execute(op.get(), planarImage(3, 2, [](int x, int y) { return 100 * x + y; }).get());
  EXPECT_EQ(planePixels(output.get(), 0)[1][2], 201 / 2);  // plane p holds f(x, y) + p
  EXPECT_EQ(planePixels(output.get(), 1)[1][2], 202 ^ 0x0F);
  EXPECT_EQ(planePixels(output.get(), 2)[1][2], 7);
  execute(op.get(), grey16Image(2, 2, [](int, int) { return 1; }).get(), nullptr,
          HRESULT(0x8004E105));
}

TEST(PixelMap, TablePutsCheckTheArrayAndAlwaysRaise) {
  auto op = conformance::make<CLumIPOneImagePixelMap>();
  auto recorder = conformance::listenTo(*op);
  struct Case {
    lum::Variant value;
    DWORD message;
  };
  const Case refused[] = {{lum::Variant(), 0x8004810C},
                          {lum::Variant(LONG{5}), 0x8004810C},
                          {byteArray(255, 0, [](int) { return 0; }), 0x8004810D},
                          {byteArray(257, 0, [](int) { return 0; }), 0x8004810D},
                          {byteArray(256, 1, [](int) { return 0; }), 0x8004810D}};
  for (const Case& c : refused) {
    EXPECT_EQ(op->put_Plane1Map(*c.value.ptr()), E_INVALIDARG);
    EXPECT_EQ(takeErrorInfo().helpContext, c.message);
  }
  EXPECT_TRUE(recorder->events().empty());
  lum::Variant got;
  ASSERT_EQ(op->get_Plane1Map(got.put()), S_OK);
  EXPECT_EQ(tableEntry(got, 200), 200);

  // An identity table changes nothing, yet is announced.
  EXPECT_EQ(op->put_Plane1Map(*got.ptr()), S_OK);
  ASSERT_EQ(recorder->events().size(), 1u);
  EXPECT_EQ(recorder->events()[0].stateId(), lumIPOneImagePixelMap_Plane1Map);

  // Arrays of other element types are taken entry by entry when every entry is a byte.
  SAFEARRAY* numbers = SafeArrayCreateVector(VT_VARIANT, 0, 256);
  for (LONG i = 0; i < 256; ++i) {
    lum::Variant entry(LONG{i == 9 ? 300 : 255 - i});
    SafeArrayPutElement(numbers, &i, entry.ptr());
  }
  lum::Variant array;
  array.ptr()->vt = VT_ARRAY | VT_VARIANT, array.ptr()->parray = numbers;
  EXPECT_EQ(op->put_Map(*array.ptr()), E_INVALIDARG);
  lum::Variant nine(LONG{9});
  LONG nineAt = 9;
  SafeArrayPutElement(numbers, &nineAt, nine.ptr());
  EXPECT_EQ(op->put_Map(*array.ptr()), S_OK);
  op->get_Map(got.put());
  EXPECT_EQ(tableEntry(got, 9), 9);
  EXPECT_EQ(tableEntry(got, 10), 245);
}

TEST(PixelMap, TablesPersistEntryByEntryAndSurviveCloneAndStream) {
  auto op = conformance::make<CLumIPOneImagePixelMap>();
  op->put_Map(*table([](int i) { return i / 3; }).ptr());
  op->put_Plane2Map(*table([](int i) { return 255 - i; }).ptr());
  auto archive = CLumArchive::create(lumPersistWriting);
  ASSERT_EQ(op->Persist(archive.get(), lumPersistWriting | lumPersistAllGroups), S_OK);
  archive->put_Mode(0);
  BYTE entry = 0;
  EXPECT_EQ(archive->PersistUI1(lum::Bstr(L"Map100").get(), &entry), S_OK);
  EXPECT_EQ(entry, 33);
  EXPECT_EQ(archive->PersistUI1(lum::Bstr(L"Plane2Map255").get(), &entry), S_OK);
  EXPECT_EQ(entry, 0);

  auto asInterface = ComPtr<ILumIPOneImagePixelMap>(op.get());
  for (auto copy : {cloneOf(asInterface.get()), saveAndLoad(asInterface.get())}) {
    ASSERT_TRUE(copy);
    lum::Variant map, plane2, plane0;
    copy->get_Map(map.put()), copy->get_Plane2Map(plane2.put()), copy->get_Plane0Map(plane0.put());
    EXPECT_EQ(tableEntry(map, 100), 33);
    EXPECT_EQ(tableEntry(plane2, 1), 254);
    EXPECT_EQ(tableEntry(plane0, 77), 77);
  }
}

TEST(Equalize, FlatTwoLevelAndSixteenBitImages) {
  auto op = conformance::make<CLumIPOneImageEqualize>();
  auto flat = pixels8(execute(op.get(), grey8Image(4, 4, [](int, int) { return 90; }).get()).get());
  EXPECT_EQ(flat[3][3], 255);
  auto two = pixels8(
      execute(op.get(), grey8Image(4, 3, [](int x, int) { return x % 2 ? 200 : 10; }).get()).get());
  EXPECT_EQ(two[0][0], 128);  // half the pixels: 127.5 + 0.5
  EXPECT_EQ(two[0][1], 255);
  auto wide = pixels16(
      execute(op.get(), grey16Image(4, 3, [](int x, int) { return x % 2 ? 2000 : 10; }).get())
          .get());
  EXPECT_EQ(wide[2][0], 32768);
  EXPECT_EQ(wide[2][3], 65535);
  auto quantize = conformance::make<CLumIPOneImageQuantize>();
  for (ILumIPOneImageOperator* grey : {static_cast<ILumIPOneImageOperator*>(op.get()),
                                       static_cast<ILumIPOneImageOperator*>(quantize.get())})
    execute(grey, planarImage(2, 2, [](int, int) { return 1; }).get(), nullptr,
            HRESULT(0x8004E105));
}

TEST(Equalize, CountsOnlyTheRegionsWindow) {
  // Left half 0, right half 100; a region over the right half sees one value only.
  auto input = grey8Image(8, 4, [](int x, int) { return x < 4 ? 0 : 100; });
  auto region = createObject<ILumRectangle>(CLSID_LumRectangle);
  region->put_SelectedSpaceName(lum::Bstr(L"#").get());
  region->put_X(4), region->put_Y(1), region->put_Width(4), region->put_Height(2);
  auto op = conformance::make<CLumIPOneImageEqualize>();
  auto output = pixels8(execute(op.get(), input.get(), region.as<ILumRegion>().get()).get());
  ASSERT_EQ(output.size(), 2u);
  ASSERT_EQ(output[0].size(), 4u);
  EXPECT_EQ(output[1][3], 255);
}

TEST(Quantize, TwoLevelsOfTwoValues) {
  auto op = conformance::make<CLumIPOneImageQuantize>();
  auto two = pixels8(
      execute(op.get(), grey8Image(4, 2, [](int x, int) { return x % 2 ? 220 : 20; }).get()).get());
  EXPECT_EQ(two[1][0], 0);
  EXPECT_EQ(two[1][1], 128);
}

TEST(Quantize, MoreLevelsThanValuesAndSixteenBitScaling) {
  // Two pairs far apart: the first pass splits the pairs, the second each pair.
  auto op = conformance::make<CLumIPOneImageQuantize>();
  op->put_Levels(lumIPOneImageQuantizeLevels4);
  const int values[] = {10, 20, 200, 210};
  auto four = pixels8(
      execute(op.get(), grey8Image(4, 1, [&](int x, int) { return values[x]; }).get()).get());
  EXPECT_EQ(four[0], (std::vector<BYTE>{0, 64, 128, 192}));
  // Two values in 128 levels: empty intervals split without failing, the values stay ordered.
  op->put_Levels(lumIPOneImageQuantizeLevels128);
  auto sparse =
      pixels8(execute(op.get(), grey8Image(2, 1, [](int x, int) { return x * 255; }).get()).get());
  EXPECT_LT(sparse[0][0], sparse[0][1]);
  op->put_Levels(lumIPOneImageQuantizeLevels2);
  auto wide = pixels16(
      execute(op.get(), grey16Image(2, 1, [](int x, int) { return x ? 60000 : 100; }).get()).get());
  EXPECT_EQ(wide[0], (std::vector<USHORT>{0, 32768}));
}

TEST(PixelRemap, OperatorsRunInAChain) {
  auto map = conformance::make<CLumIPOneImagePixelMap>();
  map->put_Map(*table([](int i) { return i < 128 ? 40 : 41; }).ptr());
  auto equalize = conformance::make<CLumIPOneImageEqualize>();
  auto quantize = conformance::make<CLumIPOneImageQuantize>();
  auto input = grey8Image(4, 4, [](int x, int) { return x < 2 ? 10 : 200; });
  auto output = pixels8(runInTool({map.get(), equalize.get(), quantize.get()}, input.get()).get());
  EXPECT_EQ(output[2][0], 0);
  EXPECT_EQ(output[2][3], 128);
}
