#pragma once
// What the command does as a host of the library: creating components by ProgID,
// reading and writing image and job files, and collecting why a call failed.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lumxip/HalvexImageProcessing.h"

namespace lumxip {

// Exit codes of every subcommand.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the library reported a failure
inline constexpr int kExitUsage = 2;    // bad arguments, or a file that cannot be read

// Something the command cannot do, reported on stderr and ending it with `exitCode`.
// `hr` is the library's result code behind it, when there is one.
class CommandError : public std::runtime_error {
 public:
  CommandError(const std::string& message, int exitCode = kExitUsage, HRESULT hr = E_FAIL)
      : std::runtime_error(message), exitCode_(exitCode), hr_(hr) {}
  int exitCode() const { return exitCode_; }
  HRESULT hr() const { return hr_; }

 private:
  int exitCode_;
  HRESULT hr_;
};

// A failed call: its result code and the description and source of the thread's error
// information.
struct Failure {
  HRESULT hr = S_OK;
  std::wstring description;
  std::wstring source;
  bool failed() const { return FAILED(hr); }
};

// Takes the thread's error information for a call that returned `hr`.
Failure failureOf(HRESULT hr);

// "0x80070057".
std::string hresultText(HRESULT hr);
// "description (0x80070057)", or the code alone.
std::string describe(const Failure& failure);

std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view text);

// A component made by ProgID; CommandError for an unknown ProgID or a failed creation.
ComPtr<IDispatch> createComponent(std::string_view progId);

// CommandError (exit 2) naming the file and the reason.
ComPtr<ILumImage> readImageFile(const std::filesystem::path& file);
// CommandError (exit 1) naming the file and the reason.
void writeImageFile(const std::filesystem::path& file, ILumImage* image);

// A saved component (binary or JSON); problems met while loading go to stderr.
// CommandError (exit 2) when the file cannot be read.
ComPtr<IUnknown> loadComponentFile(const std::filesystem::path& file);
// JSON for ".json", the binary encoding otherwise. CommandError (exit 1) on failure.
void saveComponentFile(const std::filesystem::path& file, IUnknown* component);

// What `@FILE` names: an image file, else a saved component or region.
ComPtr<IUnknown> loadObjectFile(const std::filesystem::path& file);

}  // namespace lumxip
