// The image-file readers (PNG, PGM/PPM, TIFF, recognised by content) on any bytes, with
// a pixel limit small enough that a hostile header cannot make the run slow.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "imagefile/image_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  lcImageFileLimits limits;
  limits.maxPixels = 1u << 22;
  ComPtr<ILumImage> image;
  std::wstring problem;
  lcReadImageBytes(std::span<const uint8_t>(data, size), limits, L"fuzz", image.put(), &problem);
  return 0;
}
