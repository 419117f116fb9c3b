#pragma once
// The images of the core object library: 8-bit grey, 16-bit grey, 16-bit range (pixels
// and a valid-pixel mask) and 24-bit planar colour. Each gives its pixel memory through
// its pixel-access interface (access mode 1 read or 3 read and write, four reserved
// integers that must be 0); an image without pixels gives 0 x 0 memory.

#include "lumxstd/image_base.h"
#include "lumxstd/pixel_memory.h"

namespace lumxstd {

class LUM_VISIBLE CLumImage8Grey final
    : public lcImageImpl<CLumImage8Grey, ILumImage8Grey, ILumImage8PixelAccess> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImage8Grey, L"CLumImage8Grey",
                                             L"Halvex.LumImage8Grey", 1, L"8-bit grey image"};
  static constexpr auto ownMembers() { return lum::members(); }

  HRESULT put_PixelMemory(ILumImage8PixelMemory* memory) override;
  HRESULT GetPixelMemory(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2, LONG reserved3,
                         ILumImage8PixelMemory** memory) override;

  std::pair<LONG, LONG> pixelSize() const;
  void persistPixels(ILumArchive& archive, LONG mode);

 private:
  ComPtr<ILumImage8PixelMemory> memory_;
};

class LUM_VISIBLE CLumImage16Grey final
    : public lcImageImpl<CLumImage16Grey, ILumImage16Grey, ILumImage16PixelAccess> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImage16Grey, L"CLumImage16Grey",
                                             L"Halvex.LumImage16Grey", 1, L"16-bit grey image"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::depth_>(L"PixelDepth", lumImage_PixelDepth)
                            .byDefault(LONG{lumPixelDepth16Bits}));
  }
  LUM_PROPERTY(PixelDepth, LONG, depth_)

  HRESULT put_PixelMemory(ILumImage16PixelMemory* memory) override;
  HRESULT GetPixelMemory(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2, LONG reserved3,
                         ILumImage16PixelMemory** memory) override;

  std::pair<LONG, LONG> pixelSize() const;
  void persistPixels(ILumArchive& archive, LONG mode);

 private:
  LONG depth_;
  ComPtr<ILumImage16PixelMemory> memory_;
};

// A 16-bit image with a valid-pixel mask (0 = missing). It does not answer ILumImage16Grey:
// an operator that tried 16-bit grey first would drop the mask.
class LUM_VISIBLE CLumImage16Range final
    : public lcImageImpl<CLumImage16Range, ILumImage16Range, ILumImage16RangePixelAccess> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImage16Range, L"CLumImage16Range",
                                             L"Halvex.LumImage16Range", 1, L"16-bit range image"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::depth_>(L"PixelDepth", lumImage_PixelDepth)
                            .byDefault(LONG{lumPixelDepth16Bits}));
  }
  LUM_PROPERTY(PixelDepth, LONG, depth_)

  // Pixels and mask of the same size, in one call; both null removes the pixels.
  HRESULT SetPixelMemory(ILumImage16PixelMemory* pixels, ILumImage8PixelMemory* mask) override;
  HRESULT GetPixelMemory(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2, LONG reserved3,
                         ILumImage16PixelMemory** pixels, ILumImage8PixelMemory** mask) override;

  std::pair<LONG, LONG> pixelSize() const;
  void persistPixels(ILumArchive& archive, LONG mode);

 private:
  LONG depth_;
  ComPtr<ILumImage16PixelMemory> pixels_;
  ComPtr<ILumImage8PixelMemory> mask_;
};

class LUM_VISIBLE CLumImage24PlanarColor final
    : public lcImageImpl<CLumImage24PlanarColor, ILumImage24PlanarColor,
                         ILumImage24PlanarPixelAccess> {
 public:
  static constexpr lcClassDeclaration kClass{CLSID_LumImage24PlanarColor, L"CLumImage24PlanarColor",
                                             L"Halvex.LumImage24PlanarColor", 1,
                                             L"24-bit planar colour image"};
  static constexpr auto ownMembers() {
    return lum::members(prop<&Self::colorSpace_>(L"ColorSpace", lumImage_ColorSpace)
                            .byDefault(LONG{lumColorSpaceRGB})
                            .checkedBy(enumRange(LONG{lumColorSpaceRGB}, LONG{lumColorSpaceHSI},
                                                 kColorSpaceNames)));
  }
  LUM_PROPERTY(ColorSpace, LONG, colorSpace_)

  HRESULT SetPlanePixelMemories(ILumImage8PixelMemory* plane0, ILumImage8PixelMemory* plane1,
                                ILumImage8PixelMemory* plane2, LONG colorSpace) override;
  HRESULT GetPlanePixelMemories(LONG mode, LONG reserved0, LONG reserved1, LONG reserved2,
                                LONG reserved3, ILumImage8PixelMemory** plane0,
                                ILumImage8PixelMemory** plane1,
                                ILumImage8PixelMemory** plane2) override;

  std::pair<LONG, LONG> pixelSize() const;
  void persistPixels(ILumArchive& archive, LONG mode);

 private:
  LONG colorSpace_;
  ComPtr<ILumImage8PixelMemory> planes_[3];
};

}  // namespace lumxstd
