#include "lumxstd/images.h"

#include "lumxstd/pixel_packing.h"

namespace lumxstd {
namespace {

bool validAccess(LONG mode, LONG r0, LONG r1, LONG r2, LONG r3) {
  return (mode == lumPixelAccessRead || mode == lumPixelAccessReadWrite) && r0 == 0 && r1 == 0 &&
         r2 == 0 && r3 == 0;
}

template <class Memory>
std::pair<LONG, LONG> sizeOf(Memory* memory) {
  LONG width = 0, height = 0;
  if (memory) memory->get_Width(&width), memory->get_Height(&height);
  return {width, height};
}

// The memory an image hands out: its own, or 0 x 0 memory when it has no pixels.
template <class Memory>
void handOut(const ComPtr<Memory>& held, Memory** out) {
  if (held) {
    held.copyTo(out);
    return;
  }
  ComPtr<Memory> empty;
  if constexpr (std::is_same_v<Memory, ILumImage8PixelMemory>)
    empty = allocate8(0, 0);
  else
    empty = allocate16(0, 0);
  *out = empty.detach();
}

template <class A, class B>
void checkSameSize(A* a, B* b) {
  if (sizeOf(a) != sizeOf(b))
    throw lcCOMError::withDescription(E_INVALIDARG, L"The pixel memories differ in size.");
}

}  // namespace

// ---- 8-bit grey -----------------------------------------------------------------------

HRESULT CLumImage8Grey::put_PixelMemory(ILumImage8PixelMemory* memory) {
  return callHere(L"put_PixelMemory", [&] {
    {
      lcLockGuard guard(core().lock());
      memory_ = memory;
    }
    core().fireChange(lumImage_PixelMemory, lumChangeSetByClient);
  });
}

HRESULT CLumImage8Grey::GetPixelMemory(LONG mode, LONG r0, LONG r1, LONG r2, LONG r3,
                                       ILumImage8PixelMemory** memory) {
  if (memory == nullptr) return E_POINTER;
  *memory = nullptr;
  if (!validAccess(mode, r0, r1, r2, r3)) return E_INVALIDARG;
  return callHere(L"GetPixelMemory", [&] {
    lcLockGuard guard(core().lock());
    handOut(memory_, memory);
  });
}

std::pair<LONG, LONG> CLumImage8Grey::pixelSize() const {
  lcLockGuard guard(const_cast<CLumImage8Grey*>(this)->core().lock());
  return sizeOf(memory_.get());
}

void CLumImage8Grey::persistPixels(ILumArchive& archive, LONG mode) {
  ComPtr<ILumImage8PixelMemory> memory;
  {
    lcLockGuard guard(core().lock());
    memory = memory_;
  }
  persistPixelMemory<BYTE>(archive, mode, L"Pixels", memory);
  lcLockGuard guard(core().lock());
  memory_ = std::move(memory);
}

// ---- 16-bit grey ----------------------------------------------------------------------

HRESULT CLumImage16Grey::put_PixelMemory(ILumImage16PixelMemory* memory) {
  return callHere(L"put_PixelMemory", [&] {
    {
      lcLockGuard guard(core().lock());
      memory_ = memory;
    }
    core().fireChange(lumImage_PixelMemory, lumChangeSetByClient);
  });
}

HRESULT CLumImage16Grey::GetPixelMemory(LONG mode, LONG r0, LONG r1, LONG r2, LONG r3,
                                        ILumImage16PixelMemory** memory) {
  if (memory == nullptr) return E_POINTER;
  *memory = nullptr;
  if (!validAccess(mode, r0, r1, r2, r3)) return E_INVALIDARG;
  return callHere(L"GetPixelMemory", [&] {
    lcLockGuard guard(core().lock());
    handOut(memory_, memory);
  });
}

std::pair<LONG, LONG> CLumImage16Grey::pixelSize() const {
  lcLockGuard guard(const_cast<CLumImage16Grey*>(this)->core().lock());
  return sizeOf(memory_.get());
}

void CLumImage16Grey::persistPixels(ILumArchive& archive, LONG mode) {
  ComPtr<ILumImage16PixelMemory> memory;
  {
    lcLockGuard guard(core().lock());
    memory = memory_;
  }
  persistPixelMemory<USHORT>(archive, mode, L"Pixels", memory);
  lcLockGuard guard(core().lock());
  memory_ = std::move(memory);
}

// ---- 16-bit range ---------------------------------------------------------------------

HRESULT CLumImage16Range::SetPixelMemory(ILumImage16PixelMemory* pixels,
                                         ILumImage8PixelMemory* mask) {
  return callHere(L"SetPixelMemory", [&] {
    if ((pixels == nullptr) != (mask == nullptr))
      throw lcCOMError::withDescription(E_INVALIDARG, L"Pixels and mask go together.");
    checkSameSize(pixels, mask);
    {
      lcLockGuard guard(core().lock());
      pixels_ = pixels;
      mask_ = mask;
    }
    core().fireChange(lumImage_PixelMemory, lumChangeSetByClient);
  });
}

HRESULT CLumImage16Range::GetPixelMemory(LONG mode, LONG r0, LONG r1, LONG r2, LONG r3,
                                         ILumImage16PixelMemory** pixels,
                                         ILumImage8PixelMemory** mask) {
  if (pixels == nullptr || mask == nullptr) return E_POINTER;
  *pixels = nullptr, *mask = nullptr;
  if (!validAccess(mode, r0, r1, r2, r3)) return E_INVALIDARG;
  return callHere(L"GetPixelMemory", [&] {
    lcLockGuard guard(core().lock());
    handOut(pixels_, pixels);
    handOut(mask_, mask);
  });
}

std::pair<LONG, LONG> CLumImage16Range::pixelSize() const {
  lcLockGuard guard(const_cast<CLumImage16Range*>(this)->core().lock());
  return sizeOf(pixels_.get());
}

void CLumImage16Range::persistPixels(ILumArchive& archive, LONG mode) {
  ComPtr<ILumImage16PixelMemory> pixels;
  ComPtr<ILumImage8PixelMemory> mask;
  {
    lcLockGuard guard(core().lock());
    pixels = pixels_;
    mask = mask_;
  }
  persistPixelMemory<USHORT>(archive, mode, L"Pixels", pixels);
  persistPixelMemory<BYTE>(archive, mode, L"Mask", mask);
  if (sizeOf(pixels.get()) != sizeOf(mask.get())) {
    archive.AddProblem(lum::Bstr(L"Mask").get(), lum::Bstr(L"<size differs from Pixels>").get());
    return;
  }
  lcLockGuard guard(core().lock());
  pixels_ = std::move(pixels);
  mask_ = std::move(mask);
}

// ---- 24-bit planar colour -------------------------------------------------------------

HRESULT CLumImage24PlanarColor::SetPlanePixelMemories(ILumImage8PixelMemory* plane0,
                                                      ILumImage8PixelMemory* plane1,
                                                      ILumImage8PixelMemory* plane2,
                                                      LONG colorSpace) {
  return callHere(L"SetPlanePixelMemories", [&] {
    if (colorSpace != lumColorSpaceRGB && colorSpace != lumColorSpaceHSI)
      throwInvalidArgument(0x8004810A, lcMessageArgs(L"ColorSpace"));
    const bool none = !plane0 && !plane1 && !plane2;
    if (!none && (!plane0 || !plane1 || !plane2))
      throw lcCOMError::withDescription(E_INVALIDARG, L"The three planes go together.");
    checkSameSize(plane0, plane1);
    checkSameSize(plane0, plane2);
    {
      lcLockGuard guard(core().lock());
      planes_[0] = plane0, planes_[1] = plane1, planes_[2] = plane2;
      colorSpace_ = colorSpace;
    }
    core().fireChange(lumStateSeveralChanged, lumChangeSetByClient);
  });
}

HRESULT CLumImage24PlanarColor::GetPlanePixelMemories(LONG mode, LONG r0, LONG r1, LONG r2, LONG r3,
                                                      ILumImage8PixelMemory** plane0,
                                                      ILumImage8PixelMemory** plane1,
                                                      ILumImage8PixelMemory** plane2) {
  if (plane0 == nullptr || plane1 == nullptr || plane2 == nullptr) return E_POINTER;
  *plane0 = *plane1 = *plane2 = nullptr;
  if (!validAccess(mode, r0, r1, r2, r3)) return E_INVALIDARG;
  return callHere(L"GetPlanePixelMemories", [&] {
    lcLockGuard guard(core().lock());
    handOut(planes_[0], plane0);
    handOut(planes_[1], plane1);
    handOut(planes_[2], plane2);
  });
}

std::pair<LONG, LONG> CLumImage24PlanarColor::pixelSize() const {
  lcLockGuard guard(const_cast<CLumImage24PlanarColor*>(this)->core().lock());
  return sizeOf(planes_[0].get());
}

void CLumImage24PlanarColor::persistPixels(ILumArchive& archive, LONG mode) {
  ComPtr<ILumImage8PixelMemory> planes[3];
  {
    lcLockGuard guard(core().lock());
    for (int i = 0; i < 3; ++i)
      planes[i] = planes_[i];
  }
  const wchar_t* names[3] = {L"Plane0", L"Plane1", L"Plane2"};
  for (int i = 0; i < 3; ++i)
    persistPixelMemory<BYTE>(archive, mode, names[i], planes[i]);
  if (sizeOf(planes[0].get()) != sizeOf(planes[1].get()) ||
      sizeOf(planes[0].get()) != sizeOf(planes[2].get())) {
    archive.AddProblem(lum::Bstr(L"Plane1").get(), lum::Bstr(L"<planes differ in size>").get());
    return;
  }
  lcLockGuard guard(core().lock());
  for (int i = 0; i < 3; ++i)
    planes_[i] = std::move(planes[i]);
}

}  // namespace lumxstd
