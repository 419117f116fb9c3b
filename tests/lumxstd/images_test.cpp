#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "lumxstd/images.h"
#include "lumxstd/transform_objects.h"
#include "std/math/xform_linear_object.h"
#include "support/core_objects.h"
#include "support/error_info_probe.h"
#include "support/event_recorder.h"

namespace {

using lumxstd::livePixelBlocks;

using lumtest::create;

// Fills pixels with x + 10 y (+ `salt`) and reads them back.
template <class Pel, class Memory>
void fill(Memory* memory, int salt) {
  LONG w = 0, h = 0, stride = 0;
  Pel* base = nullptr;
  memory->get_Width(&w), memory->get_Height(&h), memory->get_Stride(&stride);
  memory->get_Address(&base);
  for (LONG y = 0; y < h; ++y)
    for (LONG x = 0; x < w; ++x)
      base[y * stride + x] = Pel(x + 10 * y + salt);
}

template <class Pel, class Memory>
bool holds(Memory* memory, int salt, LONG width, LONG height) {
  LONG w = 0, h = 0, stride = 0;
  Pel* base = nullptr;
  memory->get_Width(&w), memory->get_Height(&h), memory->get_Stride(&stride);
  memory->get_Address(&base);
  if (w != width || h != height) return false;
  for (LONG y = 0; y < h; ++y)
    for (LONG x = 0; x < w; ++x)
      if (base[y * stride + x] != Pel(x + 10 * y + salt)) return false;
  return true;
}

// One format: how to make a filled image, and how to check a copy of it.
struct Format {
  const char* name;
  std::function<ComPtr<ILumImage>()> make;
  std::function<void(ILumImage*)> check;
};

constexpr LONG kW = 7, kH = 5;

std::vector<Format> formats() {
  return {
      {"8-bit grey",
       [] {
         auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
         auto memory = lumxstd::allocate8(kW, kH);
         fill<BYTE>(memory.get(), 1);
         image->put_PixelMemory(memory.get());
         return image.as<ILumImage>();
       },
       [](ILumImage* image) {
         ComPtr<ILumImage8PixelMemory> memory;
         ComPtr<ILumImage>(image).as<ILumImage8PixelAccess>()->GetPixelMemory(1, 0, 0, 0, 0,
                                                                              memory.put());
         EXPECT_TRUE(holds<BYTE>(memory.get(), 1, kW, kH));
       }},
      {"16-bit grey",
       [] {
         auto image = create<ILumImage16Grey>(CLSID_LumImage16Grey);
         auto memory = lumxstd::allocate16(kW, kH);
         fill<USHORT>(memory.get(), 60000);
         image->put_PixelMemory(memory.get());
         image->put_PixelDepth(lumPixelDepth12Bits);
         return image.as<ILumImage>();
       },
       [](ILumImage* image) {
         auto grey = ComPtr<ILumImage>(image).as<ILumImage16Grey>();
         ComPtr<ILumImage16PixelMemory> memory;
         grey.as<ILumImage16PixelAccess>()->GetPixelMemory(3, 0, 0, 0, 0, memory.put());
         EXPECT_TRUE(holds<USHORT>(memory.get(), 60000, kW, kH)) << "16-bit values survive";
         LONG depth = 0;
         grey->get_PixelDepth(&depth);
         EXPECT_EQ(depth, lumPixelDepth12Bits);
       }},
      {"16-bit range",
       [] {
         auto image = create<ILumImage16Range>(CLSID_LumImage16Range);
         auto pixels = lumxstd::allocate16(kW, kH);
         auto mask = lumxstd::allocate8(kW, kH);
         fill<USHORT>(pixels.get(), 300);
         fill<BYTE>(mask.get(), 2);
         image->SetPixelMemory(pixels.get(), mask.get());
         image->put_PixelDepth(9);  // any code is kept
         return image.as<ILumImage>();
       },
       [](ILumImage* image) {
         auto range = ComPtr<ILumImage>(image).as<ILumImage16Range>();
         EXPECT_FALSE(range.as<ILumImage16Grey>()) << "a range image is no plain 16-bit image";
         ComPtr<ILumImage16PixelMemory> pixels;
         ComPtr<ILumImage8PixelMemory> mask;
         range.as<ILumImage16RangePixelAccess>()->GetPixelMemory(1, 0, 0, 0, 0, pixels.put(),
                                                                 mask.put());
         EXPECT_TRUE(holds<USHORT>(pixels.get(), 300, kW, kH));
         EXPECT_TRUE(holds<BYTE>(mask.get(), 2, kW, kH));
         LONG depth = 0;
         range->get_PixelDepth(&depth);
         EXPECT_EQ(depth, 9);
       }},
      {"24-bit planar colour",
       [] {
         auto image = create<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
         ComPtr<ILumImage8PixelMemory> planes[3];
         for (int i = 0; i < 3; ++i) {
           planes[i] = lumxstd::allocate8(kW, kH);
           fill<BYTE>(planes[i].get(), 100 * i);
         }
         image->SetPlanePixelMemories(planes[0].get(), planes[1].get(), planes[2].get(),
                                      lumColorSpaceHSI);
         return image.as<ILumImage>();
       },
       [](ILumImage* image) {
         auto colour = ComPtr<ILumImage>(image).as<ILumImage24PlanarColor>();
         ComPtr<ILumImage8PixelMemory> planes[3];
         colour.as<ILumImage24PlanarPixelAccess>()->GetPlanePixelMemories(
             1, 0, 0, 0, 0, planes[0].put(), planes[1].put(), planes[2].put());
         for (int i = 0; i < 3; ++i)
           EXPECT_TRUE(holds<BYTE>(planes[i].get(), 100 * i, kW, kH)) << i;
         LONG space = 0;
         colour->get_ColorSpace(&space);
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
