#include "sample_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lumxip {
namespace {

// Keeps the pixels alive for as long as the image's pixel memory holds it.
class PixelBlock final : public lum::ComObject<IUnknown> {
 public:
  explicit PixelBlock(std::size_t size) : pixels(size) {}
  std::vector<BYTE> pixels;
};

// Distance from (x, y) to the segment (ax, ay)-(bx, by).
double distanceToSegment(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

double samplePixel(LONG px, LONG py, uint32_t& noise) {
  const double x = px + 0.5, y = py + 0.5;
  double value = 40 + 60.0 * x / kSampleWidth + 20.0 * y / kSampleHeight;  // uneven light
  const bool onPlate = x > 80 && x < 320 && y > 60 && y < 240;
  const bool inHole = std::hypot(x - 150, y - 150) < 40;
  const bool inSlot = x > 220 && x < 290 && y > 135 && y < 165;
  if (onPlate && !inHole && !inSlot) value = 190 + 0.1 * (x - 80);
  if (distanceToSegment(x, y, 30, 270, 370, 40) < 1.5) value = 235;  // scratches
  if (distanceToSegment(x, y, 100, 30, 180, 280) < 1.0) value = 20;
  noise = noise * 1664525u + 1013904223u;  // the same noise on every run
  value += static_cast<double>(noise >> 28) - 7.5;
  return std::clamp(value, 0.0, 255.0);
}

}  // namespace

ComPtr<ILumImage> makeSampleImage() {
  auto block = lum::makeComObject<PixelBlock>(std::size_t{kSampleWidth} * kSampleHeight);
  uint32_t noise = 12345;
  for (LONG y = 0; y < kSampleHeight; ++y)
    for (LONG x = 0; x < kSampleWidth; ++x)
      block->pixels[static_cast<std::size_t>(y * kSampleWidth + x)] =
          static_cast<BYTE>(std::lround(samplePixel(x, y, noise)));
  ComPtr<ILumImage8PixelMemoryInit> memory;
  ComPtr<ILumImage8Grey> image;
  HRESULT hr = CoCreateInstance(CLSID_LumImage8PixelMemory, nullptr, CLSCTX_INPROC_SERVER,
                                iid_of<ILumImage8PixelMemoryInit>, memory.putVoid());
  if (SUCCEEDED(hr))
    hr = CoCreateInstance(CLSID_LumImage8Grey, nullptr, CLSCTX_INPROC_SERVER,
                          iid_of<ILumImage8Grey>, image.putVoid());
  if (SUCCEEDED(hr))
    hr = memory->Initialize(kSampleWidth, kSampleHeight, block->pixels.data(), kSampleWidth,
                            block.get());
  if (SUCCEEDED(hr)) hr = image->put_PixelMemory(memory.as<ILumImage8PixelMemory>().get());
  if (FAILED(hr))
    throw CommandError("cannot make the sample image: " + describe(failureOf(hr)), kExitFailure);
  return image.as<ILumImage>();
}

}  // namespace lumxip
