#pragma once
// Images of every format with pixels given by a function of (x, y), and their pixels read
// back as rows, for the operator and tool tests.

#include <functional>
#include <vector>

#include "lumxip/HalvexCore.h"
#include "lumxstd/pixel_memory.h"

namespace lumtest {

using PixelFunction = std::function<int(int x, int y)>;
template <class Pel>
using Pixels = std::vector<std::vector<Pel>>;  // rows top down

template <class I>
ComPtr<I> createObject(const CLSID& clsid) {
  ComPtr<I> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_ALL, iid_of<I>, object.putVoid());
  return object;
}

template <class Memory, class Pel>
void fill(Memory* memory, const PixelFunction& f) {
  LONG w = 0, h = 0, stride = 0;
  Pel* base = nullptr;
  memory->get_Width(&w), memory->get_Height(&h), memory->get_Stride(&stride);
  memory->get_Address(&base);
  for (LONG y = 0; y < h; ++y)
    for (LONG x = 0; x < w; ++x)
      base[y * stride + x] = static_cast<Pel>(f(x, y));
}

template <class Memory, class Pel>
Pixels<Pel> read(Memory* memory) {
  LONG w = 0, h = 0, stride = 0;
  Pel* base = nullptr;
  memory->get_Width(&w), memory->get_Height(&h), memory->get_Stride(&stride);
  memory->get_Address(&base);
  Pixels<Pel> rows(h, std::vector<Pel>(w));
  for (LONG y = 0; y < h; ++y)
    for (LONG x = 0; x < w; ++x)
      rows[y][x] = base[y * stride + x];
  return rows;
}

inline ComPtr<ILumImage8PixelMemory> memory8(LONG w, LONG h, const PixelFunction& f) {
  auto memory = lumxstd::allocate8(w, h);
  fill<ILumImage8PixelMemory, BYTE>(memory.get(), f);
  return memory;
}

inline ComPtr<ILumImage> grey8Image(LONG w, LONG h, const PixelFunction& f) {
  auto image = createObject<ILumImage8Grey>(CLSID_LumImage8Grey);
  image->put_PixelMemory(memory8(w, h, f).get());
  return image.as<ILumImage>();
}

inline ComPtr<ILumImage> grey16Image(LONG w, LONG h, const PixelFunction& f,
                                     LONG depth = lumPixelDepth16Bits) {
  auto image = createObject<ILumImage16Grey>(CLSID_LumImage16Grey);
  auto memory = lumxstd::allocate16(w, h);
  fill<ILumImage16PixelMemory, USHORT>(memory.get(), f);
  image->put_PixelMemory(memory.get());
  image->put_PixelDepth(depth);
  return image.as<ILumImage>();
}

// Planes 0, 1 and 2 hold f(x, y) + 0, + 1 and + 2 (low 8 bits).
inline ComPtr<ILumImage> planarImage(LONG w, LONG h, const PixelFunction& f) {
  auto image = createObject<ILumImage24PlanarColor>(CLSID_LumImage24PlanarColor);
  auto plane = [&](int p) { return memory8(w, h, [&](int x, int y) { return f(x, y) + p; }); };
  image->SetPlanePixelMemories(plane(0).get(), plane(1).get(), plane(2).get(), lumColorSpaceRGB);
  return image.as<ILumImage>();
}

inline ComPtr<ILumImage> range16Image(LONG w, LONG h, const PixelFunction& f,
                                      const PixelFunction& valid) {
  auto image = createObject<ILumImage16Range>(CLSID_LumImage16Range);
  auto pixels = lumxstd::allocate16(w, h);
  fill<ILumImage16PixelMemory, USHORT>(pixels.get(), f);
  image->SetPixelMemory(pixels.get(), memory8(w, h, valid).get());
  return image.as<ILumImage>();
}

inline Pixels<BYTE> pixels8(ILumImage* image) {
  ComPtr<ILumImage8PixelMemory> memory;
  ComPtr<ILumImage>(image).as<ILumImage8PixelAccess>()->GetPixelMemory(lumPixelAccessRead, 0, 0, 0,
                                                                       0, memory.put());
  return read<ILumImage8PixelMemory, BYTE>(memory.get());
}

inline Pixels<USHORT> pixels16(ILumImage* image) {
  ComPtr<ILumImage16PixelMemory> memory;
  ComPtr<ILumImage>(image).as<ILumImage16PixelAccess>()->GetPixelMemory(lumPixelAccessRead, 0, 0, 0,
                                                                        0, memory.put());
  return read<ILumImage16PixelMemory, USHORT>(memory.get());
}

inline Pixels<BYTE> planePixels(ILumImage* image, int plane) {
  ComPtr<ILumImage8PixelMemory> planes[3];
  ComPtr<ILumImage>(image).as<ILumImage24PlanarPixelAccess>()->GetPlanePixelMemories(
      lumPixelAccessRead, 0, 0, 0, 0, planes[0].put(), planes[1].put(), planes[2].put());
  return read<ILumImage8PixelMemory, BYTE>(planes[plane].get());
}

}  // namespace lumtest
