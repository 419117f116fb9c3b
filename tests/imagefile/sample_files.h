#pragma once
// Small image files in layouts the library does not write itself (palette, alpha, 1-bit,
// interlaced PNG; tiled, planar, min-is-white TIFF), made with libpng and libtiff
// directly, as another program would write them.

#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace lumtest {

struct PngLayout {
  uint32_t width, height;
  int colorType, bitDepth;
  bool interlaced = false;
  std::vector<png_color> palette = {};
  std::vector<png_byte> paletteAlpha = {};  // tRNS
  int significantBits = 0;                  // sBIT of grey, 0 for none
};

// `rows` hold the samples as PNG stores them (big-endian 16-bit, packed low bit depths).
inline std::vector<uint8_t> writePng(const PngLayout& layout,
                                     std::vector<std::vector<uint8_t>> rows) {
  std::vector<uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(
      png, &out,
      [](png_structp p, png_bytep data, size_t n) {
        auto* o = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
        o->insert(o->end(), data, data + n);
      },
      nullptr);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!layout.palette.empty())
    png_set_PLTE(png, info, layout.palette.data(), int(layout.palette.size()));
  if (!layout.paletteAlpha.empty())
    png_set_tRNS(png, info, layout.paletteAlpha.data(), int(layout.paletteAlpha.size()), nullptr);
  if (layout.significantBits) {
    png_color_8 bits{};
    bits.gray = png_byte(layout.significantBits);
    png_set_sBIT(png, info, &bits);
  }
  std::vector<png_bytep> pointers;
  for (auto& row : rows)
    pointers.push_back(row.data());
  png_set_rows(png, info, pointers.data());
  png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// The first sample of a 16-bit grey PNG as stored, with no transformation.
inline unsigned firstStoredSample(const std::vector<uint8_t>& bytes) {
  struct Input {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
  } input{&bytes};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_read_fn(png, &input, [](png_structp p, png_bytep out, size_t n) {
    auto* in = static_cast<Input*>(png_get_io_ptr(p));
    std::memcpy(out, in->bytes->data() + in->at, n);
    in->at += n;
  });
  png_read_info(png, info);
  std::vector<uint8_t> row(png_get_rowbytes(png, info));
  png_read_row(png, row.data(), nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return unsigned(row[0]) << 8 | row[1];
}

struct TiffLayout {
  uint32_t width, height;
  uint16_t samples, bits, photometric;
  bool planar = false;
  uint32_t tile = 0;          // tile side; 0 for strips
  uint32_t rowsPerStrip = 2;  // several strips even for small images
};

// `samples(x, y, s)` gives sample s of pixel (x, y).
template <class F>
void writeTiff(const char* path, const TiffLayout& layout, F samples) {
  TIFF* tif = TIFFOpen(path, "w");
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, layout.width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, layout.height);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, int(layout.samples));
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, int(layout.bits));
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, int(layout.photometric));
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG,
               layout.planar ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
  if (layout.samples == 4 || layout.samples == 2) {
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  const int planes = layout.planar ? layout.samples : 1,
            perPixel = layout.planar ? 1 : layout.samples;
  const uint32_t blockW = layout.tile ? layout.tile : layout.width;
  const uint32_t blockH = layout.tile ? layout.tile : layout.rowsPerStrip;
  if (layout.tile) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, layout.tile);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, layout.tile);
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, layout.rowsPerStrip);
  }
  const size_t bytes = layout.bits / 8;
  std::vector<uint8_t> block(size_t(blockW) * blockH * perPixel * bytes);
  for (int p = 0; p < planes; ++p)
    for (uint32_t y0 = 0; y0 < layout.height; y0 += blockH)
      for (uint32_t x0 = 0; x0 < layout.width; x0 += blockW) {
        std::fill(block.begin(), block.end(), uint8_t{0});
        for (uint32_t y = 0; y < blockH && y0 + y < layout.height; ++y)
          for (uint32_t x = 0; x < blockW && x0 + x < layout.width; ++x)
            for (int s = 0; s < perPixel; ++s) {
              const uint16_t v = uint16_t(samples(x0 + x, y0 + y, layout.planar ? p : s));
              uint8_t* at = block.data() + ((size_t(y) * blockW + x) * perPixel + s) * bytes;
              if (bytes == 2)
                std::memcpy(at, &v, 2);
              else
                *at = uint8_t(v);
            }
        if (layout.tile)
          TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, x0, y0, 0, uint16_t(p)), block.data(),
                               tmsize_t(block.size()));
        else
          TIFFWriteEncodedStrip(
              tif, TIFFComputeStrip(tif, y0, uint16_t(p)), block.data(),
              tmsize_t(size_t(std::min(blockH, layout.height - y0)) * blockW * perPixel * bytes));
      }
  TIFFClose(tif);
}

}  // namespace lumtest
