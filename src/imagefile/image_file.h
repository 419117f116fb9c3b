#pragma once
// Reading and writing image files.

#include <cstdint>
#include <filesystem>
#include <string>

#include "lumxip/HalvexCore.h"

struct lcImageFileLimits {
  uint64_t maxPixels = 1ull << 28;  // larger images are refused before anything is allocated
};

// Reads an image file, recognised by its content. On failure `problem` (when given)
// names the file and the reason.
HRESULT lcReadImageFile(const std::filesystem::path& file, const lcImageFileLimits& limits,
                        ILumImage** image, std::wstring* problem);

// Writes an image in the format its extension names.
HRESULT lcWriteImageFile(const std::filesystem::path& file, ILumImage* image,
                         std::wstring* problem);
