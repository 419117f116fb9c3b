// Temporary: 8-bit and 16-bit PGM in and out, 8-bit grey PNG out, until the image-file
// library with PNG, PPM and TIFF lands.

#include "imagefile/image_file.h"

#include <zlib.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "lumxip/HalvexCoreIds.h"

namespace {

class PixelOwner final : public lum::ComObject<IUnknown> {
 public:
  explicit PixelOwner(std::size_t bytes) : pixels(bytes) {}
  std::vector<BYTE> pixels;
};

HRESULT fail(HRESULT hr, const std::filesystem::path& file, const std::wstring& reason,
             std::wstring* problem) {
  if (problem) *problem = file.wstring() + L": " + reason;
  return hr;
}

template <class I>
ComPtr<I> create(const CLSID& clsid) {
  ComPtr<I> object;
  CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<I>, object.putVoid());
  return object;
}

void putBigEndian(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>(v >> shift));
}

void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  out += body;
  putBigEndian(out, static_cast<uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

}  // namespace

HRESULT lcReadImageFile(const std::filesystem::path& file, const lcImageFileLimits& limits,
                        ILumImage** image, std::wstring* problem) {
  if (image == nullptr) return E_POINTER;
  *image = nullptr;
  std::ifstream in(file, std::ios::binary);
  if (!in) return fail(STG_E_FILENOTFOUND, file, L"cannot be opened", problem);
  std::string magic;
  uint64_t width = 0, height = 0, maxval = 0;
  in >> magic >> width >> height >> maxval;
  if (!in || magic != "P5" || maxval == 0 || maxval > 65535 || width == 0 || height == 0 ||
      width > (1u << 30) || height > (1u << 30))
    return fail(E_INVALIDARG, file, L"is no binary PGM image", problem);
  if (width * height > limits.maxPixels)
    return fail(E_INVALIDARG, file, L"has more pixels than allowed", problem);
  in.get();
  const std::size_t bytesPerPixel = maxval > 255 ? 2 : 1;
  auto owner = lum::makeComObject<PixelOwner>(width * height * bytesPerPixel);
  in.read(reinterpret_cast<char*>(owner->pixels.data()),
          static_cast<std::streamsize>(owner->pixels.size()));
  if (!in) return fail(E_INVALIDARG, file, L"ends before its pixels do", problem);
  const LONG w = static_cast<LONG>(width), h = static_cast<LONG>(height);
  if (bytesPerPixel == 1) {
    auto memory = create<ILumImage8PixelMemoryInit>(CLSID_LumImage8PixelMemory);
    auto grey = create<ILumImage8Grey>(CLSID_LumImage8Grey);
    if (!memory || !grey) return E_FAIL;
    memory->Initialize(w, h, owner->pixels.data(), w, owner.get());
    grey->put_PixelMemory(memory.as<ILumImage8PixelMemory>().get());
    *image = grey.detach();
    return S_OK;
  }
  auto* words = reinterpret_cast<USHORT*>(owner->pixels.data());
  for (std::size_t i = 0; i < width * height; ++i) {
    const BYTE* b = owner->pixels.data() + 2 * i;
    words[i] = static_cast<USHORT>(b[0] << 8 | b[1]);
  }
  auto memory = create<ILumImage16PixelMemoryInit>(CLSID_LumImage16PixelMemory);
  auto grey = create<ILumImage16Grey>(CLSID_LumImage16Grey);
  if (!memory || !grey) return E_FAIL;
  memory->Initialize(w, h, words, w, owner.get());
  grey->put_PixelMemory(memory.as<ILumImage16PixelMemory>().get());
  *image = grey.detach();
  return S_OK;
}

HRESULT lcWriteImageFile(const std::filesystem::path& file, ILumImage* image,
                         std::wstring* problem) {
  if (image == nullptr) return E_POINTER;
  const std::string ext = file.extension().string();
  std::string out;
  LONG width = 0, height = 0, stride = 0;
  if (auto access = ComPtr<IUnknown>(image).as<ILumImage8PixelAccess>()) {
    ComPtr<ILumImage8PixelMemory> memory;
    BYTE* pixels = nullptr;
    if (FAILED(access->GetPixelMemory(lumPixelAccessRead, 0, 0, 0, 0, memory.put())) ||
        FAILED(memory->get_Width(&width)) || FAILED(memory->get_Height(&height)) ||
        FAILED(memory->get_Address(&pixels)) || FAILED(memory->get_Stride(&stride)))
      return fail(E_FAIL, file, L"the image has no readable pixels", problem);
    if (ext == ".pgm") {
      out = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
      for (LONG y = 0; y < height; ++y)
        out.append(reinterpret_cast<const char*>(pixels + y * stride), width);
    } else if (ext == ".png") {
      std::string raw;
      for (LONG y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.append(reinterpret_cast<const char*>(pixels + y * stride), width);
      }
      uLongf packedSize = compressBound(raw.size());
      std::string packed(packedSize, '\0');
      compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
               reinterpret_cast<const Bytef*>(raw.data()), raw.size());
      packed.resize(packedSize);
      std::string header;
      putBigEndian(header, static_cast<uint32_t>(width));
      putBigEndian(header, static_cast<uint32_t>(height));
      header += std::string("\x08\x00\x00\x00\x00", 5);
      out = "\x89PNG\r\n\x1a\n";
      putChunk(out, "IHDR", header);
      putChunk(out, "IDAT", packed);
      putChunk(out, "IEND", "");
    } else {
      return fail(E_INVALIDARG, file, L"unsupported extension", problem);
    }
  } else if (auto access16 = ComPtr<IUnknown>(image).as<ILumImage16PixelAccess>();
             access16 && ext == ".pgm") {
    ComPtr<ILumImage16PixelMemory> memory;
    USHORT* pixels = nullptr;
    if (FAILED(access16->GetPixelMemory(lumPixelAccessRead, 0, 0, 0, 0, memory.put())) ||
        FAILED(memory->get_Width(&width)) || FAILED(memory->get_Height(&height)) ||
        FAILED(memory->get_Address(&pixels)) || FAILED(memory->get_Stride(&stride)))
      return fail(E_FAIL, file, L"the image has no readable pixels", problem);
    out = "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n65535\n";
    for (LONG y = 0; y < height; ++y)
      for (LONG x = 0; x < width; ++x) {
        out.push_back(static_cast<char>(pixels[y * stride + x] >> 8));
        out.push_back(static_cast<char>(pixels[y * stride + x] & 0xFF));
      }
  } else {
    return fail(E_INVALIDARG, file, L"this image format cannot be written yet", problem);
  }
  std::ofstream file_out(file, std::ios::binary);
  file_out.write(out.data(), static_cast<std::streamsize>(out.size()));
  return file_out ? S_OK : fail(STG_E_WRITEFAULT, file, L"cannot be written", problem);
}
