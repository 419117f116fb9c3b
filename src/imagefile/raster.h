#pragma once
// The pixels of an image on their way between a file and an image object: planes with
// packed rows, independent of both. Decoders produce interleaved samples and turn them
// into a raster; encoders pack one row at a time in the order their format wants.

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "imagefile/image_file.h"
#include "lumxip/HalvexCore.h"

enum class lcPixelLayout { grey8, grey16, rgb8, grey16Masked };

struct lcRaster {
  lcPixelLayout layout = lcPixelLayout::grey8;
  int32_t width = 0, height = 0;
  LONG depthCode = lumPixelDepth16Bits;  // grey16 and grey16Masked
  std::vector<uint8_t> planes[3];        // grey8: [0]; rgb8: [0..2]; grey16Masked: the mask
  std::vector<uint16_t> values;          // grey16 and grey16Masked

  int channels() const;  // 1, 3 or 2 (grey and mask)
  bool wide() const {
    return layout == lcPixelLayout::grey16 || layout == lcPixelLayout::grey16Masked;
  }
};

// A failure with its result code and reason (UTF-8, without the file name).
class lcImageFileError : public std::runtime_error {
 public:
  lcImageFileError(HRESULT code, const std::string& reason)
      : std::runtime_error(reason), code_(code) {}
  HRESULT code() const { return code_; }

 private:
  HRESULT code_;
};

[[noreturn]] void lcThrowDamaged(const std::string& reason);
[[noreturn]] void lcThrowUnsupported(const std::string& reason);

// Refuses an image of no pixels, wider or higher than 32 bits hold, or above the limit;
// called before anything of the image's size is allocated.
void lcCheckImageSize(uint64_t width, uint64_t height, const lcImageFileLimits& limits);

// Significant bits <-> pixel-depth code. Bits between the codes round up (9 bits are
// held by code 1, 10 bits); an unknown code gives 16 bits.
LONG lcDepthCodeForBits(int bits);
int lcBitsOfDepthCode(LONG code);
// The significant bits of 16-bit pixels, or 16 when a value exceeds the code's range.
int lcBitsToWrite(const lcRaster& raster);

// Interleaved samples as decoded: `channels` per pixel, 8 or 16 bits (native order).
struct lcSamples {
  int32_t width = 0, height = 0;
  int channels = 1;
  std::vector<uint8_t> bytes;   // 8-bit samples
  std::vector<uint16_t> words;  // 16-bit samples
  bool wide() const { return !words.empty(); }
};

// Takes the samples over: grey keeps channel 0, colour channels 0..2, masked grey
// channel 0 as the value and channel 1 (alpha) as the mask (non-zero = valid). 8-bit
// samples for a masked layout keep their values with depth code 5 (8 bits).
lcRaster lcRasterFromSamples(lcSamples&& samples, lcPixelLayout layout, LONG depthCode);

// How an encoder wants a row: 16-bit samples big-endian or native, shifted up to fill
// 16 bits (`shift` = 16 - significant bits, low bits repeating the high ones), and the
// mask as full alpha.
struct lcRowFormat {
  bool bigEndian = false;
  int shift = 0;
};
// Packs row y interleaved into `out`, width * channels * (1 or 2) bytes.
void lcPackRow(const lcRaster& raster, int32_t y, const lcRowFormat& format,
               std::span<uint8_t> out);
size_t lcPackedRowBytes(const lcRaster& raster);
