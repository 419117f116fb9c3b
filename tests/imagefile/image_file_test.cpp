#include "imagefile/image_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "imagefile/sample_files.h"
#include "support/test_images.h"

namespace {

namespace fs = std::filesystem;
using lumtest::Pixels;

class TempDir {
 public:
  TempDir() : path_(fs::temp_directory_path() / ("lumxip-imagefile-" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~TempDir() { fs::remove_all(path_); }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

// Values over the whole range of `bits`, the largest one included.
lumtest::PixelFunction ramp(int bits) {
  return [bits](int x, int y) {
    return x == 6 && y == 4 ? (1 << bits) - 1 : (x * 37 + y * 101) % (1 << bits);
  };
}
lumtest::PixelFunction holes() {
  return [](int x, int y) { return (x + y) % 3 ? 255 : 0; };
}
constexpr LONG kW = 7, kH = 5;

ComPtr<ILumImage> readBack(const fs::path& file) {
  ComPtr<ILumImage> image;
  std::wstring problem;
  EXPECT_EQ(lcReadImageFile(file, {}, image.put(), &problem), S_OK) << lum::toUtf8(problem);
  return image;
}

LONG depthOf(ILumImage* image) {
  LONG depth = 0;
  if (auto grey = ComPtr<ILumImage>(image).as<ILumImage16Grey>()) grey->get_PixelDepth(&depth);
  if (auto range = ComPtr<ILumImage>(image).as<ILumImage16Range>()) range->get_PixelDepth(&depth);
  return depth;
}

// The pixels and the mask of a range image.
std::pair<Pixels<USHORT>, Pixels<BYTE>> rangeOf(ILumImage* image) {
  ComPtr<ILumImage16PixelMemory> pixels;
  ComPtr<ILumImage8PixelMemory> mask;
  ComPtr<ILumImage>(image).as<ILumImage16RangePixelAccess>()->GetPixelMemory(
      lumPixelAccessRead, 0, 0, 0, 0, pixels.put(), mask.put());
  return {lumtest::read<ILumImage16PixelMemory, USHORT>(pixels.get()),
          lumtest::read<ILumImage8PixelMemory, BYTE>(mask.get())};
}

TEST(ImageFile, RoundTripsKeepPixelsDepthColourAndMask) {
  TempDir dir;
  const auto grey8 = lumtest::grey8Image(kW, kH, ramp(8));
  const auto colour = lumtest::planarImage(kW, kH, ramp(8));
  for (const char* ext : {".png", ".pgm", ".tif"}) {
    SCOPED_TRACE(ext);
    const auto file = dir / (std::string("grey8") + ext);
    ASSERT_EQ(lcWriteImageFile(file, grey8.get(), nullptr), S_OK);
    const auto back = readBack(file);
    ASSERT_TRUE(back.as<ILumImage8Grey>());
    EXPECT_EQ(lumtest::pixels8(back.get()), lumtest::pixels8(grey8.get()));
  }
  for (const char* ext : {".png", ".ppm", ".tiff"}) {
    SCOPED_TRACE(ext);
    const auto file = dir / (std::string("colour") + ext);
    ASSERT_EQ(lcWriteImageFile(file, colour.get(), nullptr), S_OK);
    const auto back = readBack(file);
    LONG space = 0;
    ASSERT_TRUE(back.as<ILumImage24PlanarColor>());
    back.as<ILumImage24PlanarColor>()->get_ColorSpace(&space);
    EXPECT_EQ(space, lumColorSpaceRGB);
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(lumtest::planePixels(back.get(), p), lumtest::planePixels(colour.get(), p));
  }
  // 16-bit grey keeps every depth code in PNG and TIFF; PGM keeps 10 to 16 bits (its
  // 16-bit samples cannot say 8 bits).
  const std::pair<LONG, int> depths[] = {{lumPixelDepth10Bits, 10},
                                         {lumPixelDepth12Bits, 12},
                                         {lumPixelDepth14Bits, 14},
                                         {lumPixelDepth16Bits, 16},
                                         {lumPixelDepth8Bits, 8}};
  for (const char* ext : {".png", ".tif", ".pgm"}) {
    for (auto [code, bits] : depths) {
      SCOPED_TRACE(std::string(ext) + " depth code " + std::to_string(code));
      const auto image = lumtest::grey16Image(kW, kH, ramp(bits), code);
      const auto file = dir / (std::string("grey16") + ext);
      ASSERT_EQ(lcWriteImageFile(file, image.get(), nullptr), S_OK);
      const auto back = readBack(file);
      ASSERT_TRUE(back.as<ILumImage16Grey>());
      EXPECT_EQ(lumtest::pixels16(back.get()), lumtest::pixels16(image.get()));
      const bool pgm8 = std::string(ext) == ".pgm" && code == lumPixelDepth8Bits;
      EXPECT_EQ(depthOf(back.get()), pgm8 ? lumPixelDepth16Bits : code);
    }
  }
  for (const char* ext : {".png", ".tif"}) {
    SCOPED_TRACE(ext);
    const auto range = lumtest::range16Image(kW, kH, ramp(12), holes());
    range.as<ILumImage16Range>()->put_PixelDepth(lumPixelDepth12Bits);
    const auto file = dir / (std::string("range") + ext);
    ASSERT_EQ(lcWriteImageFile(file, range.get(), nullptr), S_OK);
    const auto back = readBack(file);
    ASSERT_TRUE(back.as<ILumImage16Range>());
    EXPECT_EQ(rangeOf(back.get()), rangeOf(range.get()));
    EXPECT_EQ(depthOf(back.get()), lumPixelDepth12Bits);
  }
}

// A value above its depth code's range is kept; the file then says 16 bits.
TEST(ImageFile, ValuesAboveTheDepthAreKeptAsSixteenBits) {
  TempDir dir;
  const auto image = lumtest::grey16Image(kW, kH, ramp(16), lumPixelDepth12Bits);
  for (const char* ext : {".png", ".tif", ".pgm"}) {
    SCOPED_TRACE(ext);
    const auto file = dir / (std::string("over") + ext);
    ASSERT_EQ(lcWriteImageFile(file, image.get(), nullptr), S_OK);
    const auto back = readBack(file);
    EXPECT_EQ(lumtest::pixels16(back.get()), lumtest::pixels16(image.get()));
    EXPECT_EQ(depthOf(back.get()), lumPixelDepth16Bits);
  }
}

// 16-bit PNG follows the sBIT rule: the significant bits stand at the top of the 16, so
// other programs show the image at its full brightness.
TEST(ImageFile, SixteenBitPngKeepsSignificantBitsAtTheTop) {
  std::vector<uint8_t> bytes;
  const auto image = lumtest::grey16Image(
      1, 1, [](int, int) { return 0x3FE; }, lumPixelDepth10Bits);
  ASSERT_EQ(lcWriteImageBytes(image.get(), ".png", L"x.png", &bytes, nullptr), S_OK);
  EXPECT_EQ(lumtest::firstStoredSample(bytes), 0xFFBFu);  // 0x3FE << 6, low bits from the top

  struct Case {
    int significantBits;
    unsigned stored, value;
    LONG depth;
  };
  const Case cases[] = {{0, 0xFFC0, 0xFFC0, lumPixelDepth16Bits},
                        {10, 0xFFC0, 0x3FF, lumPixelDepth10Bits},
                        {12, 0xABC0, 0xABC, lumPixelDepth12Bits},
                        {9, 0xFF80, 0x3FE, lumPixelDepth10Bits},  // rounds up to a known depth
                        {8, 0x8000, 0x80, lumPixelDepth8Bits}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.significantBits);
    const auto file =
        lumtest::writePng({1, 1, PNG_COLOR_TYPE_GRAY, 16, false, {}, {}, c.significantBits},
                          {{uint8_t(c.stored >> 8), uint8_t(c.stored)}});
    ComPtr<ILumImage> read;
    ASSERT_EQ(lcReadImageBytes(file, {}, L"x.png", read.put(), nullptr), S_OK);
    EXPECT_EQ(lumtest::pixels16(read.get())[0][0], c.value);
    EXPECT_EQ(depthOf(read.get()), c.depth);
  }
}

// Layouts other programs write: what each becomes.
TEST(ImageFile, OtherPngLayoutsConvertAsDocumented) {
  auto read = [](const std::vector<uint8_t>& bytes) {
    ComPtr<ILumImage> image;
    std::wstring problem;
    EXPECT_EQ(lcReadImageBytes(bytes, {}, L"x.png", image.put(), &problem), S_OK)
        << lum::toUtf8(problem);
    return image;
  };
  // Palette with transparency: RGB, transparency dropped.
  auto palette = read(lumtest::writePng(
      {2, 1, PNG_COLOR_TYPE_PALETTE, 8, false, {{10, 20, 30}, {40, 50, 60}}, {0, 255}}, {{1, 0}}));
  EXPECT_EQ(lumtest::planePixels(palette.get(), 0), (Pixels<BYTE>{{40, 10}}));
  EXPECT_EQ(lumtest::planePixels(palette.get(), 2), (Pixels<BYTE>{{60, 30}}));
  // RGBA: alpha dropped.
  auto rgba = read(lumtest::writePng({1, 1, PNG_COLOR_TYPE_RGBA, 8}, {{1, 2, 3, 0}}));
  EXPECT_EQ(lumtest::planePixels(rgba.get(), 1), (Pixels<BYTE>{{2}}));
  // 8-bit grey with alpha: a range image of 8-bit depth.
  auto greyAlpha = read(lumtest::writePng({2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8}, {{7, 0, 9, 200}}));
  EXPECT_EQ(rangeOf(greyAlpha.get()),
            std::make_pair(Pixels<USHORT>{{7, 9}}, Pixels<BYTE>{{0, 255}}));
  EXPECT_EQ(depthOf(greyAlpha.get()), lumPixelDepth8Bits);
  // 1-bit grey: 8-bit grey at 0 and 255.
  auto bits = read(lumtest::writePng({3, 1, PNG_COLOR_TYPE_GRAY, 1}, {{0b10100000}}));
  EXPECT_EQ(lumtest::pixels8(bits.get()), (Pixels<BYTE>{{255, 0, 255}}));
  // Interlaced: the same pixels.
  std::vector<std::vector<uint8_t>> rows;
  for (int y = 0; y < 9; ++y) {
    rows.emplace_back();
    for (int x = 0; x < 11; ++x)
      rows.back().push_back(uint8_t(x * 20 + y));
  }
  auto interlaced = read(lumtest::writePng({11, 9, PNG_COLOR_TYPE_GRAY, 8, true}, rows));
  EXPECT_EQ(lumtest::pixels8(interlaced.get()), rows);
}

TEST(ImageFile, TiffStripsTilesAndPlanesReadAlike) {
  TempDir dir;
  const auto file = dir / "camera.tif";
  auto rgb = [](uint32_t x, uint32_t y, int s) { return int(x * 7 + y * 13 + s * 50) & 0xFF; };
  const lumtest::TiffLayout layouts[] = {{37, 21, 3, 8, PHOTOMETRIC_RGB, false, 0},
                                         {37, 21, 3, 8, PHOTOMETRIC_RGB, true, 0},
                                         {37, 21, 3, 8, PHOTOMETRIC_RGB, false, 16},
                                         {37, 21, 3, 8, PHOTOMETRIC_RGB, true, 16},
                                         {37, 21, 4, 8, PHOTOMETRIC_RGB, true, 16}};
  for (const auto& layout : layouts) {
    SCOPED_TRACE("planar " + std::to_string(layout.planar) + " tile " +
                 std::to_string(layout.tile) + " samples " + std::to_string(layout.samples));
    lumtest::writeTiff(file.c_str(), layout, rgb);
    const auto image = readBack(file);
    ASSERT_TRUE(image.as<ILumImage24PlanarColor>());
    for (int p = 0; p < 3; ++p) {
      const auto plane = lumtest::planePixels(image.get(), p);
      ASSERT_EQ(plane.size(), 21u);
      for (uint32_t y = 0; y < 21; ++y)
        for (uint32_t x = 0; x < 37; ++x)
          ASSERT_EQ(plane[y][x], rgb(x, y, p)) << x << "," << y;
    }
  }
  // 16-bit grey in tiles that overhang the edges, and min-is-white grey (inverted).
  auto grey = [](uint32_t x, uint32_t y, int) { return int(x * 1000 + y); };
  lumtest::writeTiff(file.c_str(), {37, 21, 1, 16, PHOTOMETRIC_MINISBLACK, false, 16}, grey);
  const auto wide = lumtest::pixels16(readBack(file).get());
  EXPECT_EQ(wide[20][36], 36020);
  EXPECT_EQ(wide[3][17], 17003);
  lumtest::writeTiff(file.c_str(), {3, 1, 1, 8, PHOTOMETRIC_MINISWHITE}, grey);
  EXPECT_EQ(lumtest::pixels8(readBack(file).get()), (Pixels<BYTE>{{255, 255 - 232, 255 - 208}}));
}

}  // namespace
