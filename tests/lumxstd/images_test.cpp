#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "lumxstd/images.h"
#include "lumxstd/transform_objects.h"
#include "std/math/xform_linear_object.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"
#include "support/test_images.h"

namespace {

using lumxstd::livePixelBlocks;

using lumtest::create;

// Pixels x + 10 y + salt, as a function for the makers and as the rows to expect.
lumtest::PixelFunction pattern(int salt) {
  return [salt](int x, int y) { return x + 10 * y + salt; };
}

constexpr LONG kW = 7, kH = 5;

template <class Pel>
lumtest::Pixels<Pel> patternRows(int salt) {
  lumtest::Pixels<Pel> rows(kH, std::vector<Pel>(kW));
  for (LONG y = 0; y < kH; ++y)
    for (LONG x = 0; x < kW; ++x)
      rows[y][x] = Pel(x + 10 * y + salt);
  return rows;
}

// One format: how to make a filled image, and how to check a copy of it.
struct Format {
  const char* name;
  std::function<ComPtr<ILumImage>()> make;
  std::function<void(ILumImage*)> check;
};

std::vector<Format> formats() {
  using namespace lumtest;
  return {
      {"8-bit grey", [] { return grey8Image(kW, kH, pattern(1)); },
       [](ILumImage* image) { EXPECT_EQ(pixels8(image), patternRows<BYTE>(1)); }},
      {"16-bit grey", [] { return grey16Image(kW, kH, pattern(60000), lumPixelDepth12Bits); },
       [](ILumImage* image) {
         EXPECT_EQ(pixels16(image), patternRows<USHORT>(60000)) << "16-bit values survive";
         LONG depth = 0;
         ComPtr<ILumImage>(image).as<ILumImage16Grey>()->get_PixelDepth(&depth);
         EXPECT_EQ(depth, lumPixelDepth12Bits);
       }},
      {"16-bit range",
       [] {
         auto image = range16Image(kW, kH, pattern(300), pattern(2));
         image.as<ILumImage16Range>()->put_PixelDepth(9);  // any code is kept
         return image;
       },
       [](ILumImage* image) {
         auto range = ComPtr<ILumImage>(image).as<ILumImage16Range>();
         EXPECT_FALSE(range.as<ILumImage16Grey>()) << "a range image is no plain 16-bit image";
         ComPtr<ILumImage16PixelMemory> pixels;
         ComPtr<ILumImage8PixelMemory> mask;
         range.as<ILumImage16RangePixelAccess>()->GetPixelMemory(1, 0, 0, 0, 0, pixels.put(),
                                                                 mask.put());
         EXPECT_EQ((read<ILumImage16PixelMemory, USHORT>(pixels.get())), patternRows<USHORT>(300));
         EXPECT_EQ((read<ILumImage8PixelMemory, BYTE>(mask.get())), patternRows<BYTE>(2));
         LONG depth = 0;
         range->get_PixelDepth(&depth);
         EXPECT_EQ(depth, 9);
       }},
      {"24-bit planar colour",
       [] {
         auto image = create<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
         image->SetPlanePixelMemories(memory8(kW, kH, pattern(0)).get(),
                                      memory8(kW, kH, pattern(100)).get(),
                                      memory8(kW, kH, pattern(200)).get(), lumColorSpaceHSI);
         return image.as<ILumImage>();
       },
       [](ILumImage* image) {
         for (int i = 0; i < 3; ++i)
           EXPECT_EQ(planePixels(image, i), patternRows<BYTE>(100 * i)) << i;
         LONG space = 0;
         ComPtr<ILumImage>(image).as<ILumImage24PlanarColor>()->get_ColorSpace(&space);
         EXPECT_EQ(space, lumColorSpaceHSI);
       }},
  };
}

// Gives an image a user space "Calib" (scale 4) and pixel-from-root translation (-3, -2).
void place(ILumImage* image) {
  auto tree = create<ILumCoordSpaceTree>(CLSID_LumCoordSpaceTree);
  tree->AddSpace(
      lum::Bstr(L"@").get(), lum::Bstr(L"Calib").get(),
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(4, 0, 0, 4), {0, 0})).get());
  image->put_CoordSpaceTree(tree.get());
  image->put_SelectedSpaceName(lum::Bstr(L"Calib").get());
  image->put_PixelFromRootTransform(
      lumxstd::makeLinearTransformObject(lc2XformLinear(lc2Matrix(1, 0, 0, 1), {-3, -2})).get());
}

void checkPlace(ILumImage* image) {
  // A point of the selected space (Calib) lands on pixel 4 * p - (3, 2).
  ComPtr<ILumTransform2D> t;
  ASSERT_EQ(image->GetTransform(lum::Bstr(L"#").get(), lum::Bstr(L".").get(), t.put()), S_OK);
  double x = 0, y = 0;
  t->MapPoint(1, 1, &x, &y);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 2);
}

TEST(Images, EveryFormatSurvivesSaveLoadAndClone) {
  const long blocksBefore = livePixelBlocks();
  for (const Format& format : formats()) {
    SCOPED_TRACE(format.name);
    ComPtr<ILumImage> image = format.make();
    place(image.get());

    ComPtr<ILumImage> clone = lumtest::cloneOf(image.get());
    ASSERT_TRUE(clone);
    format.check(clone.get());
    checkPlace(clone.get());

    ComPtr<ILumImage> loaded = lumtest::saveAndLoad(image.get());
    ASSERT_TRUE(loaded);
    format.check(loaded.get());
    checkPlace(loaded.get());
  }
  EXPECT_EQ(livePixelBlocks(), blocksBefore) << "every copy's pixels are freed with it";
}

TEST(Images, AFailedLoadLeavesAnExistingImageAsItWasAndListening) {
  auto saved = create<ILumImage16Grey>(CLSID_LumImage16Grey);
  place(saved.as<ILumImage>().get());
  saved->put_PixelDepth(lumPixelDepth12Bits);
  ComPtr<IStream> stream;
  lum::createMemoryStream(stream.put());
  ASSERT_EQ(saved.as<IPersistStream>()->Save(stream.get(), FALSE), S_OK);
  std::vector<std::byte> bytes;
  lum::readWholeStream(stream.get(), &bytes);
  // The version of the pixel-from-root transform: the last linear transform saved, whose
  // version follows its class name in the core bytes.
  const std::string name = "lc2XformLinear";
  const auto at =
      std::find_end(bytes.begin(), bytes.end(), reinterpret_cast<const std::byte*>(name.data()),
                    reinterpret_cast<const std::byte*>(name.data() + name.size()));
  ASSERT_NE(at, bytes.end());
  at[static_cast<std::ptrdiff_t>(name.size())] = std::byte{99};

  auto target = create<ILumImage16Grey>(CLSID_LumImage16Grey);
  auto sink = lum::makeComObject<EventRecorder>();
  adviseSink(target.get(), sink.get());
  ComPtr<IStream> damaged;
  lum::createMemoryStream(bytes.data(), bytes.size(), damaged.put());
  EXPECT_EQ(target.as<IPersistStream>()->Load(damaged.get()), E_FAIL);
  lumtest::takeErrorInfo();

  lum::Bstr selected;
  LONG depth = 0, suspended = -1;
  target->get_SelectedSpaceName(selected.put());
  target->get_PixelDepth(&depth);
  target.as<ILumChangeEventConfiguration>()->get_EventDeliverySuspended(&suspended);
  EXPECT_EQ(selected.view(), L"@");
  EXPECT_EQ(depth, lumPixelDepth16Bits);
  EXPECT_EQ(suspended, 0);
  VARIANT_BOOL changed = VARIANT_TRUE;
  target.as<ILumPersistArchive>()->get_HasChanged(&changed);
  EXPECT_EQ(changed, VARIANT_FALSE);
  EXPECT_TRUE(sink->events().empty());
  target->put_PixelDepth(lumPixelDepth10Bits);
  EXPECT_EQ(sink->events().size(), 1u) << "it still tells its listeners";
}

TEST(Images, TreesAreCopiedBothWaysAndUnknownSpacesRefused) {
  auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
  place(image.get());
  ComPtr<ILumCoordSpaceTree> taken;
  image->get_CoordSpaceTree(taken.put());
  taken->RemoveSpace(lum::Bstr(L"Calib").get());
  checkPlace(image.get());  // the image still has Calib

  // Unknown names are refused even where a space would map to itself.
  const std::pair<const wchar_t*, const wchar_t*> unknown[] = {
      {L"#", L"Elsewhere"}, {L"Nowhere", L"Nowhere"}, {L".", L"."}};
  image->put_SelectedSpaceName(lum::Bstr(L"Missing").get());
  for (const auto& [target, source] : unknown) {
    ComPtr<ILumTransform2D> t;
    EXPECT_EQ(image->GetTransform(lum::Bstr(target).get(), lum::Bstr(source).get(), t.put()),
              hresultFrom(0x8004E402))
        << target << " from " << source;
    EXPECT_FALSE(t);
    lumtest::takeErrorInfo();
  }
  ComPtr<ILumTransform2D> same;
  EXPECT_EQ(image->GetTransform(lum::Bstr(L"Calib").get(), lum::Bstr(L"Calib").get(), same.put()),
            S_OK);

  // Without pixels: 0 x 0 memory; a bad access mode or reserved value is refused.
  auto empty = create<ILumImage8Grey>(CLSID_LumImage8Grey);
  ComPtr<ILumImage8PixelMemory> memory;
  auto access = empty.as<ILumImage8PixelAccess>();
  ASSERT_EQ(access->GetPixelMemory(1, 0, 0, 0, 0, memory.put()), S_OK);
  LONG width = -1;
  memory->get_Width(&width);
  EXPECT_EQ(width, 0);
  EXPECT_EQ(access->GetPixelMemory(2, 0, 0, 0, 0, memory.put()), E_INVALIDARG);
  EXPECT_EQ(access->GetPixelMemory(1, 0, 0, 7, 0, memory.put()), E_INVALIDARG);
}

// An owner that counts itself.
std::atomic<int> gLiveOwners{0};
class CountedOwner final : public lum::ComObject<IUnknown> {
 public:
  CountedOwner() { ++gLiveOwners; }
  ~CountedOwner() override { --gLiveOwners; }
  BYTE pixels[4] = {1, 2, 3, 4};
};

TEST(PixelMemory, KeepsItsOwnerAliveExactlyAsLongAsItIsHeld) {
  {
    auto owner = lum::makeComObject<CountedOwner>();
    auto memory = create<ILumImage8PixelMemoryInit>(CLSID_LumImage8PixelMemory);
    EXPECT_EQ(memory->Initialize(2, 2, nullptr, 2, owner.get()), E_INVALIDARG);
    EXPECT_EQ(memory->Initialize(3, 1, owner->pixels, 2, owner.get()), E_INVALIDARG)
        << "stride < width";
    ASSERT_EQ(memory->Initialize(2, 2, owner->pixels, 2, owner.get()), S_OK);
    auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
    image->put_PixelMemory(memory.as<ILumImage8PixelMemory>().get());
    owner.reset();
    memory.reset();
    EXPECT_EQ(gLiveOwners, 1) << "the image holds the memory, the memory the owner";
  }
  EXPECT_EQ(gLiveOwners, 0);
}

}  // namespace
