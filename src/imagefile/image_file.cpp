#include "imagefile/image_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <system_error>

#include "imagefile/codecs.h"
#include "imagefile/image_objects.h"

namespace {

std::wstring nameOf(const std::filesystem::path& file) {
  return lum::fromUtf8(file.native());
}

// Runs `body`, turning every failure into a result code and "<name>: <reason>".
template <class Body>
HRESULT reported(const std::wstring& name, std::wstring* problem, Body&& body) noexcept {
  std::string reason;
  HRESULT hr = S_OK;
  try {
    body();
    return S_OK;
  } catch (const lcImageFileError& e) {
    hr = e.code(), reason = e.what();
  } catch (const std::bad_alloc&) {
    hr = E_OUTOFMEMORY, reason = "out of memory";
  } catch (const std::exception& e) {
    hr = E_UNEXPECTED, reason = e.what();
  } catch (...) {
    hr = E_UNEXPECTED, reason = "unexpected failure";
  }
  if (problem != nullptr) {
    try {
      *problem = name + L": " + lum::fromUtf8(reason);
    } catch (...) {
      problem->clear();
    }
  }
  return hr;
}

HRESULT errnoResult(int error, HRESULT otherwise) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return kImageFileNotFound;
    case EACCES:
    case EPERM:
      return kImageFileAccessDenied;
    default:
      return otherwise;
  }
}

[[noreturn]] void throwErrno(int error, HRESULT otherwise, const char* what) {
  throw lcImageFileError(errnoResult(error, otherwise),
                         std::string(what) + ": " + std::strerror(error));
}

// The whole file, refused before reading when it is larger than any image within the
// limits could be (8 bytes a pixel and 1 MiB of everything else).
std::vector<uint8_t> readWholeFile(const std::filesystem::path& file,
                                   const lcImageFileLimits& limits) {
  std::FILE* f = std::fopen(file.c_str(), "rb");
  if (f == nullptr) throwErrno(errno, kImageFileReadFault, "cannot open");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> closer(f, std::fclose);
  std::error_code ec;
  if (std::filesystem::is_directory(file, ec))
    throw lcImageFileError(kImageFileReadFault, "is a directory, not an image file");
  const uint64_t size = std::filesystem::file_size(file, ec);
  if (ec) throwErrno(ec.value(), kImageFileReadFault, "cannot read");
  const uint64_t cap = std::min<uint64_t>(limits.maxPixels, UINT64_MAX / 16) * 8 + (1u << 20);
  if (size > cap)
    throw lcImageFileError(kImageFileTooLarge, "the file's " + std::to_string(size) +
                                                   " bytes are more than an image within the "
                                                   "pixel limit needs");
  std::vector<uint8_t> bytes(size);
  if (size > 0 && std::fread(bytes.data(), 1, size, f) != size)
    throwErrno(errno ? errno : EIO, kImageFileReadFault, "cannot read");
  return bytes;
}

lcRaster decode(std::span<const uint8_t> bytes, const lcImageFileLimits& limits) {
  if (bytes.empty()) lcThrowDamaged("the file is empty");
  if (lcLooksLikePng(bytes)) return lcDecodePng(bytes, limits);
  if (lcLooksLikeTiff(bytes)) return lcDecodeTiff(bytes, limits);
  if (lcLooksLikeNetpbm(bytes)) return lcDecodeNetpbm(bytes, limits);
  lcThrowUnsupported("not a PNG, PGM, PPM or TIFF file");
}

std::string lowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::vector<uint8_t> encode(ILumImage* image, const std::string& extension) {
  const std::string ext = lowerCase(extension);
  const bool png = ext == ".png", pgm = ext == ".pgm", ppm = ext == ".ppm",
             tiff = ext == ".tif" || ext == ".tiff";
  if (!png && !pgm && !ppm && !tiff)
    lcThrowUnsupported("unknown image file extension \"" + extension +
                       "\" (use .png, .pgm, .ppm, .tif or .tiff)");
  const lcRaster raster = lcRasterFromImage(image);
  if (png) return lcEncodePng(raster);
  if (tiff) return lcEncodeTiff(raster);
  return lcEncodeNetpbm(raster, ppm);
}

// Writes beside the target and renames, so a failure never leaves half a file.
void writeWholeFile(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::filesystem::path partial = file;
  partial += ".partial";
  std::FILE* f = std::fopen(partial.c_str(), "wb");
  if (f == nullptr) throwErrno(errno, kImageFileWriteFault, "cannot create");
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int writeError = errno;
  if (std::fclose(f) != 0 || !written) {
    const int error = written ? errno : writeError;
    std::remove(partial.c_str());
    throwErrno(error, kImageFileWriteFault, "cannot write");
  }
  if (std::rename(partial.c_str(), file.c_str()) != 0) {
    const int error = errno;
    std::remove(partial.c_str());
    throwErrno(error, kImageFileWriteFault, "cannot write");
  }
}

}  // namespace

HRESULT lcReadImageBytes(std::span<const uint8_t> bytes, const lcImageFileLimits& limits,
                         const std::wstring& name, ILumImage** image, std::wstring* problem) {
  if (problem != nullptr) problem->clear();
  if (image == nullptr) return E_POINTER;
  *image = nullptr;
  return reported(name, problem,
                  [&] { *image = lcImageFromRaster(decode(bytes, limits)).detach(); });
}

HRESULT lcReadImageFile(const std::filesystem::path& file, const lcImageFileLimits& limits,
                        ILumImage** image, std::wstring* problem) {
  if (problem != nullptr) problem->clear();
  if (image == nullptr) return E_POINTER;
  *image = nullptr;
  std::vector<uint8_t> bytes;
  const std::wstring name = nameOf(file);
  const HRESULT hr = reported(name, problem, [&] { bytes = readWholeFile(file, limits); });
  if (FAILED(hr)) return hr;
  return lcReadImageBytes(bytes, limits, name, image, problem);
}

HRESULT lcWriteImageBytes(ILumImage* image, const std::string& extension, const std::wstring& name,
                          std::vector<uint8_t>* bytes, std::wstring* problem) {
  if (problem != nullptr) problem->clear();
  if (bytes == nullptr) return E_POINTER;
  bytes->clear();
  return reported(name, problem, [&] {
    if (image == nullptr) throw lcImageFileError(E_INVALIDARG, "no image to write");
    *bytes = encode(image, extension);
  });
}

HRESULT lcWriteImageFile(const std::filesystem::path& file, ILumImage* image,
                         std::wstring* problem) {
  if (problem != nullptr) problem->clear();
  const std::wstring name = nameOf(file);
  return reported(name, problem, [&] {
    if (image == nullptr) throw lcImageFileError(E_INVALIDARG, "no image to write");
    writeWholeFile(file, encode(image, file.extension().string()));
  });
}
