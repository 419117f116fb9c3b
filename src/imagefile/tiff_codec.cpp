// TIFF through libtiff over bytes in memory: 8- and 16-bit grey (with an optional alpha
// sample), 8-bit RGB (an extra sample dropped), in strips or tiles, contiguous or planar.
// libtiff reports errors through a handler of each open file, never by jumping, so the
// first message is kept and turned into the problem.

#include <tiffio.h>

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>

#include "imagefile/codecs.h"

namespace {

// A file in memory: the bytes read, or the bytes written so far.
struct MemoryFile {
  std::span<const uint8_t> input;
  std::vector<uint8_t>* output = nullptr;
  uint64_t position = 0;
  bool outOfMemory = false;
  char message[256] = "";

  uint64_t size() const { return output ? output->size() : input.size(); }
};

MemoryFile& fileOf(thandle_t handle) {
  return *static_cast<MemoryFile*>(static_cast<void*>(handle));
}

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t count) {
  MemoryFile& f = fileOf(handle);
  const uint8_t* data = f.output ? f.output->data() : f.input.data();
  const uint64_t size = f.size();
  if (count < 0 || f.position >= size) return 0;
  const uint64_t n = std::min<uint64_t>(uint64_t(count), size - f.position);
  std::memcpy(buffer, data + f.position, n);
  f.position += n;
  return tmsize_t(n);
}

tmsize_t writeProc(thandle_t handle, void* buffer, tmsize_t count) {
  MemoryFile& f = fileOf(handle);
  if (f.output == nullptr || count < 0) return -1;
  try {
    const uint64_t end = f.position + uint64_t(count);
    if (end > f.output->size()) f.output->resize(end);
    std::memcpy(f.output->data() + f.position, buffer, size_t(count));
    f.position = end;
    return count;
  } catch (...) {
    f.outOfMemory = true;
    return -1;
  }
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence) {
  MemoryFile& f = fileOf(handle);
  const uint64_t base = whence == SEEK_CUR ? f.position : whence == SEEK_END ? f.size() : 0;
  if (offset > std::numeric_limits<uint64_t>::max() - base) return toff_t(-1);
  f.position = base + offset;
  return f.position;
}

int closeProc(thandle_t) {
  return 0;
}
toff_t sizeProc(thandle_t handle) {
  return fileOf(handle).size();
}
int mapProc(thandle_t, void**, toff_t*) {
  return 0;
}  // no mapping: reads go through readProc
void unmapProc(thandle_t, void*, toff_t) {}

int onError(TIFF*, void* user, const char*, const char* format, va_list args) {
  auto* f = static_cast<MemoryFile*>(user);
  if (f->message[0] == '\0') std::vsnprintf(f->message, sizeof f->message, format, args);
  return 1;  // handled: nothing on stderr
}

int onWarning(TIFF*, void*, const char*, const char*, va_list) {
  return 1;
}

// An open TIFF over a memory file, closed when it goes.
class OpenTiff {
 public:
  OpenTiff(MemoryFile& file, const char* mode, uint64_t maxAllocation) {
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) throw std::bad_alloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, onError, &file);
    TIFFOpenOptionsSetWarningHandlerExtR(options, onWarning, &file);
    TIFFOpenOptionsSetMaxSingleMemAlloc(
        options, tmsize_t(std::min<uint64_t>(maxAllocation, std::numeric_limits<tmsize_t>::max())));
    tiff_ = TIFFClientOpenExt("image", mode, &file, readProc, writeProc, seekProc, closeProc,
                              sizeProc, mapProc, unmapProc, options);
    TIFFOpenOptionsFree(options);
  }
  ~OpenTiff() {
    if (tiff_) TIFFClose(tiff_);
  }
  OpenTiff(const OpenTiff&) = delete;
  OpenTiff& operator=(const OpenTiff&) = delete;
  TIFF* get() const { return tiff_; }

 private:
  TIFF* tiff_ = nullptr;
};

[[noreturn]] void throwDamaged(const MemoryFile& f, const char* what) {
  lcThrowDamaged(std::string("damaged TIFF data: ") + (f.message[0] ? f.message : what));
}

struct TiffLayout {
  uint32_t width = 0, height = 0;
  uint16_t samples = 1, bits = 8, photometric = PHOTOMETRIC_MINISBLACK,
           planar = PLANARCONFIG_CONTIG;
  lcPixelLayout layout = lcPixelLayout::grey8;
  LONG depthCode = lumPixelDepth16Bits;
};

TiffLayout layoutOf(TIFF* tif, const MemoryFile& f) {
  TiffLayout t;
  uint16_t format = SAMPLEFORMAT_UINT;
  if (!TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &t.width) ||
      !TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &t.height))
    throwDamaged(f, "no image size");
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &t.samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &t.bits);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &t.planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
  if (!TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &t.photometric))
    t.photometric = t.samples >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;

  if (format != SAMPLEFORMAT_UINT)
    lcThrowUnsupported("TIFF samples other than unsigned integers are not supported");
  if (t.bits != 8 && t.bits != 16)
    lcThrowUnsupported(std::to_string(t.bits) + "-bit TIFF is not supported (8 and 16 bits are)");
  const bool grey =
      t.photometric == PHOTOMETRIC_MINISBLACK || t.photometric == PHOTOMETRIC_MINISWHITE;
  if (grey && t.samples <= 2) {
    t.layout = t.samples == 2 ? lcPixelLayout::grey16Masked
               : t.bits == 16 ? lcPixelLayout::grey16
                              : lcPixelLayout::grey8;
    uint16_t maxSample = 0;
    if (t.bits == 16 && TIFFGetField(tif, TIFFTAG_MAXSAMPLEVALUE, &maxSample))
      t.depthCode = lcDepthCodeForBits(std::bit_width(maxSample));
  } else if (t.photometric == PHOTOMETRIC_RGB && (t.samples == 3 || t.samples == 4)) {
    if (t.bits != 8)
      lcThrowUnsupported("16-bit colour TIFF is not supported (colour images hold 8 bits)");
    t.layout = lcPixelLayout::rgb8;
  } else {
    lcThrowUnsupported("TIFF with photometric interpretation " + std::to_string(t.photometric) +
                       " and " + std::to_string(t.samples) +
                       " samples per pixel is not supported (grey, grey with alpha and RGB are)");
  }
  return t;
}

// Reads every strip or tile of every plane and copies its pixels into the interleaved
// samples, leaving out what lies beyond the image's edges.
void readBlocks(TIFF* tif, const MemoryFile& f, const TiffLayout& t, lcSamples& s) {
  const bool tiled = TIFFIsTiled(tif);
  uint32_t blockW = t.width, blockH = t.height;
  if (tiled) {
    if (!TIFFGetField(tif, TIFFTAG_TILEWIDTH, &blockW) ||
        !TIFFGetField(tif, TIFFTAG_TILELENGTH, &blockH))
      throwDamaged(f, "no tile size");
  } else {
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &blockH);
    blockH = std::min(blockH, t.height);
  }
  constexpr uint32_t kMaxBlockSide = 1u << 20;
  if (blockW == 0 || blockH == 0 || blockW > kMaxBlockSide || blockH > kMaxBlockSide)
    lcThrowDamaged("damaged TIFF data: a strip or tile of " + std::to_string(blockW) + " x " +
                   std::to_string(blockH) + " pixels");

  const bool separate = t.planar == PLANARCONFIG_SEPARATE && t.samples > 1;
  const size_t bytesPerSample = t.bits / 8, channels = t.samples;
  const size_t pixelBytes = bytesPerSample * (separate ? 1 : channels);
  const uint64_t blockBytes = uint64_t(blockW) * blockH * pixelBytes;
  const uint64_t libraryBytes = uint64_t(tiled ? TIFFTileSize64(tif) : TIFFStripSize64(tif));
  const uint64_t imageBytes = uint64_t(t.width) * t.height * channels * bytesPerSample;
  if (libraryBytes < blockBytes || libraryBytes > 2 * imageBytes + (1u << 24))
    lcThrowDamaged("damaged TIFF data: strips or tiles of " + std::to_string(libraryBytes) +
                   " bytes");

  std::vector<uint8_t> block(libraryBytes);
  auto* out = s.wide() ? reinterpret_cast<uint8_t*>(s.words.data()) : s.bytes.data();
  const uint16_t planes = separate ? t.samples : 1;
  for (uint16_t plane = 0; plane < planes; ++plane) {
    for (uint32_t y0 = 0; y0 < t.height; y0 += blockH) {
      for (uint32_t x0 = 0; x0 < t.width; x0 += blockW) {
        std::fill(block.begin(), block.end(), uint8_t{0});
        const tmsize_t got = tiled
                                 ? TIFFReadEncodedTile(tif, TIFFComputeTile(tif, x0, y0, 0, plane),
                                                       block.data(), tmsize_t(block.size()))
                                 : TIFFReadEncodedStrip(tif, TIFFComputeStrip(tif, y0, plane),
                                                        block.data(), tmsize_t(block.size()));
        if (got < 0) throwDamaged(f, "a strip or tile cannot be read");
        const uint32_t w = std::min(blockW, t.width - x0), h = std::min(blockH, t.height - y0);
        for (uint32_t y = 0; y < h; ++y) {
          const uint8_t* from = block.data() + size_t(y) * blockW * pixelBytes;
          uint8_t* to = out + ((size_t(y0 + y) * t.width + x0) * channels) * bytesPerSample;
          if (!separate) {
            std::memcpy(to, from, size_t(w) * pixelBytes);
            continue;
          }
          for (uint32_t x = 0; x < w; ++x)
            std::memcpy(to + (x * channels + plane) * bytesPerSample, from + x * bytesPerSample,
                        bytesPerSample);
        }
      }
    }
  }
}

void invertGrey(lcSamples& s) {
  const size_t step = size_t(s.channels);
  for (size_t i = 0; i < s.words.size(); i += step)
    s.words[i] = uint16_t(0xFFFF - s.words[i]);
  for (size_t i = 0; i < s.bytes.size(); i += step)
    s.bytes[i] = uint8_t(0xFF - s.bytes[i]);
}

}  // namespace

bool lcLooksLikeTiff(std::span<const uint8_t> bytes) {
  if (bytes.size() < 4) return false;
  const bool intel =
      bytes[0] == 'I' && bytes[1] == 'I' && bytes[3] == 0 && (bytes[2] == 42 || bytes[2] == 43);
  const bool motorola =
      bytes[0] == 'M' && bytes[1] == 'M' && bytes[2] == 0 && (bytes[3] == 42 || bytes[3] == 43);
  return intel || motorola;
}

lcRaster lcDecodeTiff(std::span<const uint8_t> bytes, const lcImageFileLimits& limits) {
  MemoryFile file;
  file.input = bytes;
  // libtiff's own allocations stay within what an image at the limit needs.
  const uint64_t maxAllocation = std::max<uint64_t>(limits.maxPixels, 1u << 20) * 8;
  OpenTiff tiff(file, "r", maxAllocation);
  if (tiff.get() == nullptr) throwDamaged(file, "cannot be opened");
  const TiffLayout t = layoutOf(tiff.get(), file);
  lcCheckImageSize(t.width, t.height, limits);

  lcSamples s;
  s.width = int32_t(t.width), s.height = int32_t(t.height), s.channels = t.samples;
  const size_t values = size_t(t.width) * t.height * t.samples;
  t.bits == 16 ? s.words.resize(values) : s.bytes.resize(values);
  readBlocks(tiff.get(), file, t, s);
  if (t.photometric == PHOTOMETRIC_MINISWHITE) invertGrey(s);
  return lcRasterFromSamples(std::move(s), t.layout, t.depthCode);
}

std::vector<uint8_t> lcEncodeTiff(const lcRaster& raster) {
  std::vector<uint8_t> out;
  MemoryFile file;
  file.output = &out;
  {
    OpenTiff tiff(file, "w", std::numeric_limits<uint64_t>::max());
    TIFF* tif = tiff.get();
    if (tif == nullptr)
      throw lcImageFileError(kImageFileWriteFault,
                             std::string("cannot start TIFF: ") + file.message);
    const bool colour = raster.layout == lcPixelLayout::rgb8;
    const int samples = raster.channels();
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(raster.width));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(raster.height));
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, raster.wide() ? 16 : 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, colour ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    if (raster.layout == lcPixelLayout::grey16Masked) {
      const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
      TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    // The significant bits, as the largest value a sample may take.
    if (raster.wide() && lcBitsToWrite(raster) < 16)
      TIFFSetField(tif, TIFFTAG_MAXSAMPLEVALUE, (1 << lcBitsToWrite(raster)) - 1);

    std::vector<uint8_t> row(lcPackedRowBytes(raster));
    bool written = true;
    for (int32_t y = 0; y < raster.height && written; ++y) {
      lcPackRow(raster, y, {}, row);
      written = TIFFWriteScanline(tif, row.data(), uint32_t(y), 0) >= 0;
    }
    written = written && TIFFFlush(tif) == 1;
    if (file.outOfMemory) throw std::bad_alloc();
    if (!written)
      throw lcImageFileError(kImageFileWriteFault,
                             std::string("cannot encode TIFF: ") + file.message);
  }
  return out;
}
