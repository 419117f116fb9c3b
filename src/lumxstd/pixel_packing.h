#pragma once
// Pixels in a property archive: rows without padding, 16-bit pixels least significant
// byte first, as one byte array, with the width and height beside it.

#include <cstring>
#include <limits>
#include <vector>

#include "components/framework/core_bytes.h"
#include "lumxstd/pixel_memory.h"

namespace lumxstd {

template <class Pel, class Memory>
std::vector<uint8_t> packPixels(Memory* memory, LONG& width, LONG& height) {
  width = height = 0;
  std::vector<uint8_t> bytes;
  if (memory == nullptr) return bytes;
  LONG stride = 0;
  Pel* base = nullptr;
  throwIfFailed(memory->get_Width(&width));
  throwIfFailed(memory->get_Height(&height));
  throwIfFailed(memory->get_Stride(&stride));
  throwIfFailed(memory->get_Address(&base));
  bytes.resize(std::size_t(width) * height * sizeof(Pel));
  uint8_t* out = bytes.data();
  for (LONG y = 0; y < height; ++y) {
    const Pel* row = base + std::ptrdiff_t(y) * stride;
    for (LONG x = 0; x < width; ++x) {
      const Pel p = row[x];
      for (std::size_t b = 0; b < sizeof(Pel); ++b)
        *out++ = uint8_t(p >> (8 * b));
    }
  }
  return bytes;
}

// New pixel memory from packed bytes; null when the sizes do not agree.
template <class Pel, class Memory>
ComPtr<Memory> unpackPixels(const std::vector<uint8_t>& bytes, LONG width, LONG height) {
  if (width < 0 || height < 0) return nullptr;
  if (std::size_t(width) * std::size_t(height) * sizeof(Pel) != bytes.size()) return nullptr;
  ComPtr<Memory> memory;
  if constexpr (sizeof(Pel) == 1)
    memory = allocate8(width, height);
  else
    memory = allocate16(width, height);
  LONG stride = 0;
  Pel* base = nullptr;
  memory->get_Stride(&stride);
  memory->get_Address(&base);
  const uint8_t* in = bytes.data();
  for (LONG y = 0; y < height; ++y) {
    Pel* row = base + std::ptrdiff_t(y) * stride;
    for (LONG x = 0; x < width; ++x) {
      Pel p = 0;
      for (std::size_t b = 0; b < sizeof(Pel); ++b)
        p = Pel(p | (Pel(*in++) << (8 * b)));
      row[x] = p;
    }
  }
  return memory;
}

// Writes or reads one pixel memory under `name` (with "<name>Width", "<name>Height").
template <class Pel, class Memory>
void persistPixelMemory(ILumArchive& archive, LONG mode, const wchar_t* name,
                        ComPtr<Memory>& memory) {
  const lum::Bstr pixels(name);
  const lum::Bstr widthName(std::wstring(name) + L"Width");
  const lum::Bstr heightName(std::wstring(name) + L"Height");
  if (mode & lumPersistWriting) {
    LONG width = 0, height = 0;
    lum::Variant bytes = bytesToVariant(packPixels<Pel>(memory.get(), width, height));
    throwIfFailed(archive.PersistI4(widthName.get(), &width));
    throwIfFailed(archive.PersistI4(heightName.get(), &height));
    throwIfFailed(archive.PersistVariant(pixels.get(), bytes.ptr()));
    return;
  }
  LONG width = -1, height = -1;
  lum::Variant stored;
  std::vector<uint8_t> bytes;
  if (archive.PersistI4(widthName.get(), &width) != S_OK ||
      archive.PersistI4(heightName.get(), &height) != S_OK ||
      archive.PersistVariant(pixels.get(), stored.ptr()) != S_OK)
    return;  // the archive noted what was missing
  ComPtr<Memory> loaded;
  if (variantToBytes(stored.get(), bytes)) loaded = unpackPixels<Pel, Memory>(bytes, width, height);
  if (!loaded) {
    archive.AddProblem(pixels.get(), lum::Bstr(L"<invalid pixel data>").get());
    return;
  }
  memory = std::move(loaded);
}

}  // namespace lumxstd
