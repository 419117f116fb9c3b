#pragma once
// Image files: PNG, PGM/PPM (binary P5/P6) and TIFF read into new core-library images
// and written from them. Reading recognises the format by the file's first bytes,
// writing by the file's extension. Every function reports failure as a result code and
// a one-line problem naming the file and the reason; none throws or crashes on a
// damaged file.
//
// What each format maps to (both directions):
//   8-bit grey            LumImage8Grey
//   16-bit grey           LumImage16Grey, with its pixel-depth code
//   8-bit RGB             LumImage24PlanarColor, colour space RGB
//   16-bit grey + alpha   LumImage16Range (alpha 0 marks a missing pixel)
// docs/ARCHITECTURE.md ("Image files") lists the conversions of the other layouts.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "lumxip/HalvexCore.h"

struct lcImageFileLimits {
  uint64_t maxPixels = 1ull << 28;  // refuse larger images before allocating
};

// Result codes of the image-file functions besides E_POINTER (a null out-pointer),
// E_INVALIDARG (a null image to write) and E_OUTOFMEMORY.
inline constexpr HRESULT kImageFileNotFound = hresultFrom(0x80030002);      // no such file
inline constexpr HRESULT kImageFileAccessDenied = hresultFrom(0x80030005);  // permission
inline constexpr HRESULT kImageFileReadFault = hresultFrom(0x8003001E);    // I/O error, a directory
inline constexpr HRESULT kImageFileWriteFault = hresultFrom(0x8003001D);   // cannot write
inline constexpr HRESULT kImageFileUnsupported = hresultFrom(0x8004E105);  // format or layout
inline constexpr HRESULT kImageFileDamaged = hresultFrom(0x80070570);      // corrupt, truncated
inline constexpr HRESULT kImageFileTooLarge = hresultFrom(0x800700DF);     // above the limits
inline constexpr HRESULT kImageFileNoPixels = hresultFrom(0x8004E102);     // writing a 0 x 0 image

// Reads a PNG, PGM/PPM or TIFF file into a new image. On failure *image is null and
// *problem holds "<file>: <reason>".
HRESULT lcReadImageFile(const std::filesystem::path& file, const lcImageFileLimits& limits,
                        ILumImage** image, std::wstring* problem);

// Writes an image in the format its extension names: .png, .pgm, .ppm, .tif or .tiff
// (any case). The file is written whole or, on failure, not left behind.
HRESULT lcWriteImageFile(const std::filesystem::path& file, ILumImage* image,
                         std::wstring* problem);

// The same over bytes in memory; `name` stands for the file in problems. Writing takes
// the format's extension (".png", ".pgm", ".ppm", ".tif", ".tiff").
HRESULT lcReadImageBytes(std::span<const uint8_t> bytes, const lcImageFileLimits& limits,
                         const std::wstring& name, ILumImage** image, std::wstring* problem);
HRESULT lcWriteImageBytes(ILumImage* image, const std::string& extension, const std::wstring& name,
                          std::vector<uint8_t>* bytes, std::wstring* problem);
