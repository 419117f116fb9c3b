#include "host.h"

#include <cstdio>
#include <iostream>

#include "imagefile/image_file.h"

namespace lumxip {

Failure failureOf(HRESULT hr) {
  Failure failure{hr, {}, {}};
  ComPtr<IErrorInfo> info;
  if (GetErrorInfo(0, info.put()) == S_OK && info) {
    lum::Bstr description, source;
    info->GetDescription(description.put());
    info->GetSource(source.put());
    failure.description = description.view();
    failure.source = source.view();
  }
  return failure;
}

std::string hresultText(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(hr));
  return text;
}

std::string describe(const Failure& failure) {
  if (failure.description.empty()) return hresultText(failure.hr);
  return utf8(failure.description) + " (" + hresultText(failure.hr) + ")";
}

std::string utf8(std::wstring_view text) {
  return lum::toUtf8(text);
}
std::wstring wide(std::string_view text) {
  return lum::fromUtf8(text);
}

ComPtr<IDispatch> createComponent(std::string_view progId) {
  CLSID clsid{};
  if (FAILED(CLSIDFromProgID(wide(progId).c_str(), &clsid)))
    throw CommandError("unknown ProgID \"" + std::string(progId) + "\" (see lumxip list)");
  SetErrorInfo(0, nullptr);
  ComPtr<IDispatch> component;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IDispatch>,
                                      component.putVoid());
  if (FAILED(hr))
    throw CommandError("cannot create " + std::string(progId) + ": " + describe(failureOf(hr)),
                       kExitFailure);
  return component;
}

ComPtr<ILumImage> readImageFile(const std::filesystem::path& file) {
  ComPtr<ILumImage> image;
  std::wstring problem;
  if (HRESULT hr = lcReadImageFile(file, lcImageFileLimits{}, image.put(), &problem); FAILED(hr))
    throw CommandError(problem.empty() ? file.string() + ": cannot be read" : utf8(problem),
                       kExitUsage, hr);
  return image;
}

void writeImageFile(const std::filesystem::path& file, ILumImage* image) {
  std::wstring problem;
  if (FAILED(lcWriteImageFile(file, image, &problem)))
    throw CommandError(problem.empty() ? file.string() + ": cannot be written" : utf8(problem),
                       kExitFailure);
}

namespace {

ComPtr<ILumPersistenceService> persistenceService() {
  ComPtr<ILumPersistenceService> service;
  const HRESULT hr = CoCreateInstance(CLSID_LumPersistenceService, nullptr, CLSCTX_INPROC_SERVER,
                                      iid_of<ILumPersistenceService>, service.putVoid());
  if (FAILED(hr))
    throw CommandError("the persistence service is not available: " + hresultText(hr),
                       kExitFailure);
  return service;
}

std::string streamProblem(const std::filesystem::path& file, HRESULT hr) {
  if (hr == STG_E_FILENOTFOUND) return file.string() + ": no such file";
  if (hr == STG_E_ACCESSDENIED) return file.string() + ": permission denied";
  return file.string() + ": cannot be opened (" + hresultText(hr) + ")";
}

}  // namespace

ComPtr<IUnknown> loadComponentFile(const std::filesystem::path& file) {
  ComPtr<IStream> stream;
  if (HRESULT hr = lum::createFileStream(file, lum::FileStreamMode::read, stream.put()); FAILED(hr))
    throw CommandError(streamProblem(file, hr));
  SetErrorInfo(0, nullptr);
  ComPtr<IUnknown> component;
  const HRESULT hr = persistenceService()->Load(stream.get(), lumPersistAllGroups, component.put());
  const Failure failure = failureOf(hr);
  if (FAILED(hr)) throw CommandError(file.string() + ": " + describe(failure));
  if (hr == S_FALSE)
    std::cerr << "lumxip: " << file.string()
              << " loaded with problems: " << utf8(failure.description) << "\n";
  return component;
}

void saveComponentFile(const std::filesystem::path& file, IUnknown* component) {
  const LONG format = file.extension() == ".json" ? lumPersistFormatText : lumPersistFormatBinary;
  ComPtr<IStream> stream;
  if (HRESULT hr = lum::createFileStream(file, lum::FileStreamMode::create, stream.put());
      FAILED(hr))
    throw CommandError(streamProblem(file, hr), kExitFailure);
  SetErrorInfo(0, nullptr);
  const HRESULT hr =
      persistenceService()->Save(component, stream.get(), lumPersistAllGroups, format);
  if (FAILED(hr))
    throw CommandError("cannot save " + file.string() + ": " + describe(failureOf(hr)),
                       kExitFailure);
}

ComPtr<IUnknown> loadObjectFile(const std::filesystem::path& file) {
  ComPtr<ILumImage> image;
  std::wstring imageProblem;
  if (SUCCEEDED(lcReadImageFile(file, lcImageFileLimits{}, image.put(), &imageProblem)))
    return image.as<IUnknown>();
  try {
    return loadComponentFile(file);
  } catch (const CommandError& e) {
    throw CommandError(e.what() + std::string("; as an image: ") + utf8(imageProblem));
  }
}

}  // namespace lumxip
