// Using the library from C++: make an image, run an operator on it, read the result.
#include <cstdio>
#include <vector>

#include "lumxip/HalvexImageProcessing.h"

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<I>, object.putVoid());
  return object;
}

int main() {
  // A 4 x 2 image over our own pixels (no owner: they outlive the image).
  static std::vector<BYTE> pixels = {10, 20, 30, 40, 50, 60, 70, 200};
  auto memory = create<ILumImage8PixelMemoryInit>(CLSID_LumImage8PixelMemory);
  auto image = create<ILumImage8Grey>(CLSID_LumImage8Grey);
  memory->Initialize(4, 2, pixels.data(), 4, nullptr);
  image->put_PixelMemory(memory.as<ILumImage8PixelMemory>().get());

  // Multiply every pixel by 1.5; results above 255 are clamped.
  auto multiply = create<ILumIPOneImageMultiplyConstant>(CLSID_LumIPOneImageMultiplyConstant);
  if (FAILED(multiply->put_ConstantValue(1.5))) return 1;
  ComPtr<ILumImage> output;
  if (FAILED(multiply->Execute(image.get(), lumRegionModePixelAlignedBoundingBox, nullptr,
                               output.put())))
    return 1;

  // Read the result's pixels.
  ComPtr<ILumImage8PixelMemory> result;
  output.as<ILumImage8PixelAccess>()->GetPixelMemory(lumPixelAccessRead, 0, 0, 0, 0, result.put());
  BYTE* first = nullptr;
  LONG stride = 0;
  result->get_Address(&first);
  result->get_Stride(&stride);
  std::printf("first pixel %d, last pixel %d\n", first[0], first[stride + 3]);
  return first[0] == 15 && first[stride + 3] == 255 ? 0 : 1;
}
