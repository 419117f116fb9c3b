#pragma once
// Pixel memory of the core object library: a block of pixels (width, height, address of
// pixel (0, 0), row stride in pixels) kept alive by an owner object for as long as the
// memory is held. The writable classes are initialised once by whoever made the pixels;
// the stand-in's own pixels (loaded images, new images) live in PixelBlocks, rows
// aligned to 32 bytes as the core library's pixel roots are.

#include <atomic>
#include <cstdint>

#include "components/framework/call_boundary.h"
#include "components/framework/class_declaration.h"
#include "lumxip/HalvexCore.h"

namespace lumxstd {

inline constexpr std::size_t kRowAlignment = 32;

// Pixel blocks alive in the process (tests count them).
LUM_VISIBLE long livePixelBlocks();

template <class Pel, class MemoryItf, class InitItf>
class PixelMemory : public lum::ComObject<MemoryItf, InitItf> {
 public:
  HRESULT get_Width(LONG* width) override { return out(width, width_); }
  HRESULT get_Height(LONG* height) override { return out(height, height_); }
  HRESULT get_Address(Pel** pixel00) override {
    if (pixel00 == nullptr) return E_POINTER;
    *pixel00 = address_;
    return S_OK;
  }
  HRESULT get_Stride(LONG* stride) override { return out(stride, stride_); }

  HRESULT Initialize(LONG width, LONG height, Pel* pixel00, LONG stride, IUnknown* owner) override {
    const bool empty = width == 0 || height == 0;
    if (width < 0 || height < 0 || stride < width || (!empty && pixel00 == nullptr))
      return E_INVALIDARG;
    width_ = width, height_ = height, stride_ = stride, address_ = pixel00;
    owner_ = owner;  // the previous owner, if any, is released
    return S_OK;
  }

 private:
  static HRESULT out(LONG* target, LONG value) {
    if (target == nullptr) return E_POINTER;
    *target = value;
    return S_OK;
  }

  LONG width_ = 0, height_ = 0, stride_ = 0;
  Pel* address_ = nullptr;
  ComPtr<IUnknown> owner_;
};

class LUM_VISIBLE CLumImage8PixelMemory final
    : public PixelMemory<BYTE, ILumImage8PixelMemory, ILumImage8PixelMemoryInit> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImage8PixelMemory, L"CLumImage8PixelMemory",
                                             L"Halvex.LumImage8PixelMemory", 1,
                                             L"8-bit pixel memory"};
  static HRESULT createInstance(IUnknown* outer, REFIID iid, void** object);
};

class LUM_VISIBLE CLumImage16PixelMemory final
    : public PixelMemory<USHORT, ILumImage16PixelMemory, ILumImage16PixelMemoryInit> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImage16PixelMemory, L"CLumImage16PixelMemory",
                                             L"Halvex.LumImage16PixelMemory", 1,
                                             L"16-bit pixel memory"};
  static HRESULT createInstance(IUnknown* outer, REFIID iid, void** object);
};

// New zero-filled pixels of the given size in a PixelBlock of the stand-in's own.
// Throws std::bad_alloc, or lcCOMError E_INVALIDARG for a negative or oversized size.
LUM_VISIBLE ComPtr<ILumImage8PixelMemory> allocate8(LONG width, LONG height);
LUM_VISIBLE ComPtr<ILumImage16PixelMemory> allocate16(LONG width, LONG height);

}  // namespace lumxstd
