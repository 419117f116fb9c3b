// Binary PGM (P5) and PPM (P6), parsed by hand: the header is a few numbers, and the
// system's netpbm library ends the process on bad input instead of reporting it.

#include <algorithm>
#include <bit>
#include <string>

#include "imagefile/codecs.h"

namespace {

bool isBlank(uint8_t c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

class HeaderReader {
 public:
  explicit HeaderReader(std::span<const uint8_t> bytes) : bytes_(bytes) {}

  // A decimal number after blanks and comments ("#" to the end of the line).
  uint32_t number(const char* what) {
    for (;;) {
      while (pos_ < bytes_.size() && isBlank(bytes_[pos_]))
        ++pos_;
      if (pos_ >= bytes_.size() || bytes_[pos_] != '#') break;
      while (pos_ < bytes_.size() && bytes_[pos_] != '\n' && bytes_[pos_] != '\r')
        ++pos_;
    }
    if (pos_ >= bytes_.size()) lcThrowDamaged(std::string("the header ends before the ") + what);
    uint64_t value = 0;
    const size_t start = pos_;
    while (pos_ < bytes_.size() && bytes_[pos_] >= '0' && bytes_[pos_] <= '9') {
      value = value * 10 + (bytes_[pos_++] - '0');
      if (value > 0xFFFFFFFFu) lcThrowDamaged(std::string("the ") + what + " is too large");
    }
    if (pos_ == start) lcThrowDamaged(std::string("the ") + what + " is not a number");
    return uint32_t(value);
  }

  // Exactly one blank separates the header from the pixels.
  std::span<const uint8_t> pixels() {
    if (pos_ >= bytes_.size() || !isBlank(bytes_[pos_]))
      lcThrowDamaged("no blank between the header and the pixels");
    return bytes_.subspan(pos_ + 1);
  }

 private:
  std::span<const uint8_t> bytes_;
  size_t pos_ = 2;  // after the magic number
};

}  // namespace

bool lcLooksLikeNetpbm(std::span<const uint8_t> bytes) {
  return bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' && bytes[1] <= '7';
}

lcRaster lcDecodeNetpbm(std::span<const uint8_t> bytes, const lcImageFileLimits& limits) {
  const char kind = char(bytes[1]);
  if (kind != '5' && kind != '6')
    lcThrowUnsupported(std::string("netpbm type P") + kind +
                       " is not supported (binary P5 and P6 are)");
  const bool colour = kind == '6';
  HeaderReader header(bytes);
  const uint32_t width = header.number("width");
  const uint32_t height = header.number("height");
  const uint32_t maxval = header.number("maximum value");
  if (maxval == 0 || maxval > 65535)
    lcThrowDamaged("the maximum value " + std::to_string(maxval) + " is outside 1..65535");
  if (colour && maxval > 255)
    lcThrowUnsupported("16-bit PPM is not supported (colour images hold 8 bits)");
  lcCheckImageSize(width, height, limits);

  const auto pixels = header.pixels();
  const bool wide = maxval > 255;
  const int channels = colour ? 3 : 1;
  const size_t samples = size_t(width) * size_t(height) * size_t(channels);
  const size_t needed = samples * (wide ? 2 : 1);
  if (pixels.size() < needed)
    lcThrowDamaged("the pixel data ends after " + std::to_string(pixels.size()) + " of " +
                   std::to_string(needed) + " bytes");

  lcSamples s;
  s.width = int32_t(width), s.height = int32_t(height), s.channels = channels;
  uint32_t top = 0;
  if (wide) {
    s.words.resize(samples);
    for (size_t i = 0; i < samples; ++i) {
      s.words[i] = uint16_t(pixels[2 * i] << 8 | pixels[2 * i + 1]);
      top = std::max<uint32_t>(top, s.words[i]);
    }
  } else {
    s.bytes.assign(pixels.begin(), pixels.begin() + ptrdiff_t(samples));
    for (uint8_t v : s.bytes)
      top = std::max<uint32_t>(top, v);
  }
  if (top > maxval)
    lcThrowDamaged("a pixel value " + std::to_string(top) + " exceeds the maximum value " +
                   std::to_string(maxval));
  const auto layout =
      colour ? lcPixelLayout::rgb8 : (wide ? lcPixelLayout::grey16 : lcPixelLayout::grey8);
  return lcRasterFromSamples(std::move(s), layout, lcDepthCodeForBits(std::bit_width(maxval)));
}

std::vector<uint8_t> lcEncodeNetpbm(const lcRaster& raster, bool colour) {
  if (raster.layout == lcPixelLayout::grey16Masked)
    lcThrowUnsupported("PGM cannot hold the valid-pixel mask of a range image (use PNG or TIFF)");
  if (colour != (raster.layout == lcPixelLayout::rgb8))
    lcThrowUnsupported(colour ? "a grey image cannot be written as PPM (use .pgm)"
                              : "a colour image cannot be written as PGM (use .ppm)");
  // 16-bit images keep 16-bit samples (a maximum value above 255), so depth code 5
  // (8 bits) is written as 16 bits.
  uint32_t maxval = 255;
  if (raster.wide()) {
    const int bits = lcBitsToWrite(raster);
    maxval = bits > 8 ? (1u << bits) - 1 : 65535;
  }
  const std::string header = std::string(colour ? "P6" : "P5") + "\n" +
                             std::to_string(raster.width) + " " + std::to_string(raster.height) +
                             "\n" + std::to_string(maxval) + "\n";
  const size_t rowBytes = lcPackedRowBytes(raster);
  std::vector<uint8_t> out(header.begin(), header.end());
  out.resize(header.size() + rowBytes * size_t(raster.height));
  for (int32_t y = 0; y < raster.height; ++y)
    lcPackRow(raster, y, {true, 0}, {out.data() + header.size() + size_t(y) * rowBytes, rowBytes});
  return out;
}
