#include "imagefile/raster.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

int lcRaster::channels() const {
  switch (layout) {
    case lcPixelLayout::rgb8:
      return 3;
    case lcPixelLayout::grey16Masked:
      return 2;
    default:
      return 1;
  }
}

void lcThrowDamaged(const std::string& reason) {
  throw lcImageFileError(kImageFileDamaged, reason);
}

void lcThrowUnsupported(const std::string& reason) {
  throw lcImageFileError(kImageFileUnsupported, reason);
}

void lcCheckImageSize(uint64_t width, uint64_t height, const lcImageFileLimits& limits) {
  if (width == 0 || height == 0)
    lcThrowDamaged("the image has no pixels (" + std::to_string(width) + " x " +
                   std::to_string(height) + ")");
  constexpr uint64_t kMaxSide = std::numeric_limits<int32_t>::max();
  // Both sides below 2^31, so the product cannot overflow 64 bits.
  if (width > kMaxSide || height > kMaxSide || width * height > limits.maxPixels)
    throw lcImageFileError(kImageFileTooLarge, "the image is " + std::to_string(width) + " x " +
                                                   std::to_string(height) +
                                                   " pixels, more than the limit of " +
                                                   std::to_string(limits.maxPixels));
}

LONG lcDepthCodeForBits(int bits) {
  if (bits <= 8) return lumPixelDepth8Bits;
  if (bits <= 10) return lumPixelDepth10Bits;
  if (bits <= 12) return lumPixelDepth12Bits;
  if (bits <= 14) return lumPixelDepth14Bits;
  return lumPixelDepth16Bits;
}

int lcBitsOfDepthCode(LONG code) {
  switch (code) {
    case lumPixelDepth8Bits:
      return 8;
    case lumPixelDepth10Bits:
      return 10;
    case lumPixelDepth12Bits:
      return 12;
    case lumPixelDepth14Bits:
      return 14;
    default:
      return 16;
  }
}

int lcBitsToWrite(const lcRaster& raster) {
  const int bits = lcBitsOfDepthCode(raster.depthCode);
  const auto top = raster.values.empty()
                       ? uint16_t{0}
                       : *std::max_element(raster.values.begin(), raster.values.end());
  return std::bit_width(top) <= bits ? bits : 16;
}

lcRaster lcRasterFromSamples(lcSamples&& samples, lcPixelLayout layout, LONG depthCode) {
  lcRaster raster;
  raster.layout = layout;
  raster.width = samples.width;
  raster.height = samples.height;
  raster.depthCode = depthCode;
  const size_t pixels = size_t(samples.width) * size_t(samples.height);
  const size_t step = size_t(samples.channels);
  switch (layout) {
    case lcPixelLayout::grey8:
    case lcPixelLayout::grey16:
      if (step == 1) {  // the common case: no copy
        raster.planes[0] = std::move(samples.bytes);
        raster.values = std::move(samples.words);
        return raster;
      }
      if (samples.wide()) {
        raster.values.resize(pixels);
        for (size_t i = 0; i < pixels; ++i)
          raster.values[i] = samples.words[i * step];
      } else {
        raster.planes[0].resize(pixels);
        for (size_t i = 0; i < pixels; ++i)
          raster.planes[0][i] = samples.bytes[i * step];
      }
      return raster;
    case lcPixelLayout::rgb8:
      for (size_t c = 0; c < 3; ++c) {
        raster.planes[c].resize(pixels);
        for (size_t i = 0; i < pixels; ++i)
          raster.planes[c][i] = samples.bytes[i * step + c];
      }
      return raster;
    case lcPixelLayout::grey16Masked:
      raster.values.resize(pixels);
      raster.planes[0].resize(pixels);
      for (size_t i = 0; i < pixels; ++i) {
        const bool wide = samples.wide();
        raster.values[i] = wide ? samples.words[i * step] : samples.bytes[i * step];
        const unsigned alpha = wide ? samples.words[i * step + 1] : samples.bytes[i * step + 1];
        raster.planes[0][i] = alpha != 0 ? 255 : 0;
      }
      if (!samples.wide()) raster.depthCode = lumPixelDepth8Bits;
      return raster;
  }
  return raster;
}

size_t lcPackedRowBytes(const lcRaster& raster) {
  return size_t(raster.width) * size_t(raster.channels()) * (raster.wide() ? 2 : 1);
}

namespace {

// Stretches a value of (16 - shift) bits over 16 bits: shifted up, the freed low bits
// repeat the top ones, so that shifting down again gives the value back.
uint16_t stretch(uint16_t value, int shift) {
  if (shift == 0) return value;
  const int bits = 16 - shift;
  uint32_t wide = uint32_t(value) << shift;
  for (int filled = bits; filled < 16; filled += bits)
    wide |= wide >> bits;
  return uint16_t(wide);
}

void put16(uint8_t* out, uint16_t value, bool bigEndian) {
  if (bigEndian) {
    out[0] = uint8_t(value >> 8), out[1] = uint8_t(value);
  } else {
    std::memcpy(out, &value, 2);
  }
}

}  // namespace

void lcPackRow(const lcRaster& raster, int32_t y, const lcRowFormat& format,
               std::span<uint8_t> out) {
  const size_t w = size_t(raster.width), first = size_t(y) * w;
  uint8_t* o = out.data();
  switch (raster.layout) {
    case lcPixelLayout::grey8:
      std::memcpy(o, raster.planes[0].data() + first, w);
      return;
    case lcPixelLayout::rgb8:
      for (size_t x = 0; x < w; ++x)
        for (size_t c = 0; c < 3; ++c)
          o[x * 3 + c] = raster.planes[c][first + x];
      return;
    case lcPixelLayout::grey16:
      for (size_t x = 0; x < w; ++x)
        put16(o + 2 * x, stretch(raster.values[first + x], format.shift), format.bigEndian);
      return;
    case lcPixelLayout::grey16Masked:
      for (size_t x = 0; x < w; ++x) {
        put16(o + 4 * x, stretch(raster.values[first + x], format.shift), format.bigEndian);
        put16(o + 4 * x + 2, raster.planes[0][first + x] != 0 ? 0xFFFF : 0, format.bigEndian);
      }
      return;
  }
}
