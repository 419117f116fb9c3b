// The failure contract: every damaged, truncated, oversized or unsupported file gives a
// failed result, no image and a problem that names the file; nothing crashes.

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>

#include <unistd.h>

#include "imagefile/image_file.h"
#include "imagefile/sample_files.h"
#include "support/test_images.h"

namespace {

namespace fs = std::filesystem;

struct Outcome {
  HRESULT hr;
  bool image;
  std::wstring problem;
};

Outcome readBytes(const std::vector<uint8_t>& bytes, lcImageFileLimits limits = {}) {
  ComPtr<ILumImage> image;
  std::wstring problem;
  const HRESULT hr = lcReadImageBytes(bytes, limits, L"sample.img", image.put(), &problem);
  return {hr, image != nullptr, problem};
}

void expectRefused(const Outcome& o, HRESULT expected) {
  EXPECT_EQ(o.hr, expected) << lum::toUtf8(o.problem);
  EXPECT_FALSE(o.image);
  EXPECT_EQ(o.problem.rfind(L"sample.img: ", 0), 0u) << lum::toUtf8(o.problem);
}

std::vector<uint8_t> written(ILumImage* image, const char* ext) {
  std::vector<uint8_t> bytes;
  EXPECT_EQ(lcWriteImageBytes(image, ext, L"x", &bytes, nullptr), S_OK);
  return bytes;
}

std::vector<uint8_t> text(const std::string& s) {
  return {s.begin(), s.end()};
}

// One small file of every format and layout the library writes.
std::vector<std::pair<std::string, std::vector<uint8_t>>> samples() {
  auto f = [](int x, int y) { return x * 31 + y * 7; };
  const auto grey8 = lumtest::grey8Image(5, 3, f);
  const auto grey16 = lumtest::grey16Image(5, 3, f, lumPixelDepth12Bits);
  const auto colour = lumtest::planarImage(5, 3, f);
  const auto range = lumtest::range16Image(5, 3, f, f);
  return {{"png grey8", written(grey8.get(), ".png")},
          {"png grey16", written(grey16.get(), ".png")},
          {"png colour", written(colour.get(), ".png")},
          {"png range", written(range.get(), ".png")},
          {"pgm", written(grey16.get(), ".pgm")},
          {"ppm", written(colour.get(), ".ppm")},
          {"tiff grey16", written(grey16.get(), ".tif")},
          {"tiff colour", written(colour.get(), ".tif")},
          {"tiff range", written(range.get(), ".tif")}};
}

// A file cut short fails; a file with one byte changed either reads or fails
// cleanly (run under the sanitizers to see reads out of bounds).
TEST(DamagedImageFile, TruncatedAndFlippedFilesFailCleanly) {
  for (const auto& [name, bytes] : samples()) {
    SCOPED_TRACE(name);
    ASSERT_EQ(readBytes(bytes).hr, S_OK);
    for (size_t length = 0; length < bytes.size(); ++length) {
      const Outcome o = readBytes({bytes.begin(), bytes.begin() + ptrdiff_t(length)});
      // A TIFF file may lose its last four bytes, the link to a next directory, unread.
      if (length + 4 < bytes.size()) {
        ASSERT_TRUE(FAILED(o.hr)) << "cut to " << length;
      }
      ASSERT_EQ(o.image, SUCCEEDED(o.hr));
      if (FAILED(o.hr)) {
        ASSERT_EQ(o.problem.rfind(L"sample.img: ", 0), 0u);
      }
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
      auto damaged = bytes;
      damaged[at] ^= 0xA5;
      const Outcome o = readBytes(damaged);
      ASSERT_EQ(o.image, SUCCEEDED(o.hr));
      if (FAILED(o.hr)) {
        ASSERT_EQ(o.problem.rfind(L"sample.img: ", 0), 0u);
      }
    }
  }
}

TEST(DamagedImageFile, BadHeadersAndUnsupportedLayoutsAreNamed) {
  expectRefused(readBytes({}), kImageFileDamaged);
  expectRefused(readBytes(text("GIF89a....")), kImageFileUnsupported);
  expectRefused(readBytes(text("P2\n2 1\n255\n1 2\n")), kImageFileUnsupported);
  expectRefused(readBytes(text("P5\n2 1\n0\nab")), kImageFileDamaged);
  expectRefused(readBytes(text("P5\n2 1\n70000\nab")), kImageFileDamaged);
  expectRefused(readBytes(text("P5\n2 x\n255\nab")), kImageFileDamaged);
  expectRefused(readBytes(text("P5\n2 1\n200\n\xff\x01")), kImageFileDamaged);  // above maxval
  expectRefused(readBytes(text("P6\n1 1\n65535\n123456")), kImageFileUnsupported);
  expectRefused(readBytes(text("P5 # size\n0 1\n255\n")), kImageFileDamaged);
  expectRefused(readBytes(lumtest::writePng({1, 1, PNG_COLOR_TYPE_RGB, 16}, {{0, 1, 2, 3, 4, 5}})),
                kImageFileUnsupported);
  const auto file =
      fs::temp_directory_path() / ("lumxip-rgb16-" + std::to_string(getpid()) + ".tif");
  lumtest::writeTiff(file.c_str(), {2, 2, 3, 16, PHOTOMETRIC_RGB}, [](auto...) { return 1; });
  ComPtr<ILumImage> image;
  std::wstring problem;
  EXPECT_EQ(lcReadImageFile(file, {}, image.put(), &problem), kImageFileUnsupported);
  EXPECT_EQ(problem.rfind(lum::fromUtf8(file.native()) + L": ", 0), 0u);
  fs::remove(file);
}

// The size in the header is refused before the pixels are looked at, let alone
// allocated: these headers promise far more than the files hold.
TEST(DamagedImageFile, ThePixelLimitRefusesBeforeAllocating) {
  expectRefused(readBytes(text("P5\n60000 60000\n255\n")), kImageFileTooLarge);
  expectRefused(readBytes(text("P5\n4294967295 1\n255\n")), kImageFileTooLarge);
  auto png = lumtest::writePng({1, 1, PNG_COLOR_TYPE_GRAY, 8}, {{0}});
  const uint8_t huge[8] = {0x7F, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF};
  std::copy(std::begin(huge), std::end(huge), png.begin() + 16);  // IHDR width, height
  const uLong crc = crc32(0, png.data() + 12, 17);
  for (int i = 0; i < 4; ++i)
    png[29 + i] = uint8_t(crc >> (24 - 8 * i));
  expectRefused(readBytes(png), kImageFileTooLarge);
  // A small limit refuses every format of a 5 x 3 image.
  for (const auto& [name, bytes] : samples()) {
    SCOPED_TRACE(name);
    expectRefused(readBytes(bytes, {14}), kImageFileTooLarge);
    EXPECT_EQ(readBytes(bytes, {15}).hr, S_OK);
  }
}

TEST(DamagedImageFile, FilesThatCannotBeReadOrWritten) {
  const fs::path missing = fs::temp_directory_path() / "lumxip-no-such-dir" / "image.png";
  ComPtr<ILumImage> image;
  std::wstring problem;
  EXPECT_EQ(lcReadImageFile(missing, {}, image.put(), &problem), kImageFileNotFound);
  EXPECT_EQ(problem.rfind(lum::fromUtf8(missing.native()) + L": ", 0), 0u);
  EXPECT_EQ(lcReadImageFile(fs::temp_directory_path(), {}, image.put(), &problem),
            kImageFileReadFault);
  const auto grey = lumtest::grey8Image(2, 2, [](int, int) { return 1; });
  EXPECT_EQ(lcWriteImageFile(missing, grey.get(), &problem), kImageFileNotFound);
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  std::vector<uint8_t> bytes;
  const auto range = lumtest::range16Image(
      2, 2, [](int, int) { return 1; }, [](int, int) { return 1; });
  const auto colour = lumtest::planarImage(2, 2, [](int, int) { return 1; });
  const auto hsi = lumtest::planarImage(2, 2, [](int, int) { return 1; });
  hsi.as<ILumImage24PlanarColor>()->put_ColorSpace(lumColorSpaceHSI);
  const auto empty = lumtest::createObject<ILumImage>(CLSID_LumImage8Grey);
  const struct {
    ILumImage* image;
    const char* ext;
    HRESULT expected;
  } refused[] = {{grey.get(), ".bmp", kImageFileUnsupported},
                 {range.get(), ".pgm", kImageFileUnsupported},
                 {grey.get(), ".ppm", kImageFileUnsupported},
                 {colour.get(), ".pgm", kImageFileUnsupported},
                 {hsi.get(), ".png", kImageFileUnsupported},
                 {empty.get(), ".png", kImageFileNoPixels},
                 {nullptr, ".png", E_INVALIDARG}};
  for (const auto& r : refused) {
    SCOPED_TRACE(r.ext);
    EXPECT_EQ(lcWriteImageBytes(r.image, r.ext, L"out", &bytes, &problem), r.expected);
    EXPECT_EQ(problem.rfind(L"out: ", 0), 0u) << lum::toUtf8(problem);
  }
}

}  // namespace
