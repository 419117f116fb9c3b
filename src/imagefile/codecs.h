#pragma once
// One decoder and one encoder per file format, over bytes in memory. Decoders check the
// image's size against the limits before allocating anything of that size; every
// failure is an lcImageFileError.

#include <cstdint>
#include <span>
#include <vector>

#include "imagefile/raster.h"

bool lcLooksLikePng(std::span<const uint8_t> bytes);
lcRaster lcDecodePng(std::span<const uint8_t> bytes, const lcImageFileLimits& limits);
std::vector<uint8_t> lcEncodePng(const lcRaster& raster);

bool lcLooksLikeNetpbm(std::span<const uint8_t> bytes);
lcRaster lcDecodeNetpbm(std::span<const uint8_t> bytes, const lcImageFileLimits& limits);
// P5 for grey (8 or 16 bits), P6 for colour; `colour` says which the file's name asked for.
std::vector<uint8_t> lcEncodeNetpbm(const lcRaster& raster, bool colour);

bool lcLooksLikeTiff(std::span<const uint8_t> bytes);
lcRaster lcDecodeTiff(std::span<const uint8_t> bytes, const lcImageFileLimits& limits);
std::vector<uint8_t> lcEncodeTiff(const lcRaster& raster);
