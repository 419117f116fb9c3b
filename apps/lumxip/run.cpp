// `lumxip run JOB --input FILE|DIR|- ...`: a saved tool runs on each input image in turn;
// each exposed output image is written as "<input name>.<output name>.png". "-" reads
// file names from standard input, one a line, so that the command composes with xargs,
// GNU parallel and job arrays; --jsonl reports each image as one JSON line when it is done.

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>

#include "commands.h"
#include "dispatch_calls.h"
#include "json_results.h"
#include "progress.h"
#include "values.h"

namespace lumxip {
namespace {

namespace fs = std::filesystem;

struct RunOptions {
  std::string job;
  std::vector<std::string> inputs;
  std::string region;
  std::string outputDir = ".";
  bool json = false;
  bool jsonLines = false;
};

// An exposed property: "name{OutputImage} path{OutputImage} type{ILumImage}".
struct ExposedImage {
  std::wstring name, path;
};

std::wstring field(std::wstring_view descriptor, std::wstring_view key) {
  const std::wstring open = std::wstring(key) + L"{";
  const std::size_t start = descriptor.find(open);
  if (start == std::wstring_view::npos) return L"";
  const std::size_t from = start + open.size();
  const std::size_t end = descriptor.find(L'}', from);
  return std::wstring(descriptor.substr(from, end == std::wstring_view::npos ? 0 : end - from));
}

std::vector<ExposedImage> exposedImages(ILumStringCollection* properties) {
  std::vector<ExposedImage> images;
  LONG count = 0;
  if (properties == nullptr || FAILED(properties->get_Count(&count))) return images;
  for (LONG i = 0; i < count; ++i) {
    lum::Bstr item;
    if (FAILED(properties->get_Item(*lum::Variant(static_cast<int32_t>(i)).ptr(), item.put())))
      continue;
    if (field(item.view(), L"type") == L"ILumImage")
      images.push_back({field(item.view(), L"name"), field(item.view(), L"path")});
  }
  return images;
}

bool isImageFile(const fs::path& file) {
  static const std::set<std::string> extensions = {".png", ".pgm", ".ppm", ".tif", ".tiff"};
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extensions.count(ext) > 0;
}

// File names from standard input, one a line; blank lines and trailing carriage returns
// are ignored.
void readNamesFromStdin(std::vector<fs::path>& files) {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) files.emplace_back(line);
  }
}

// Files as given; the image files of a folder in name order; "-" the names on stdin.
std::vector<fs::path> expandInputs(const std::vector<std::string>& inputs) {
  std::vector<fs::path> files;
  for (const fs::path input : inputs) {
    if (input == "-") {
      readNamesFromStdin(files);
      continue;
    }
    std::error_code error;
    if (!fs::is_directory(input, error)) {
      files.push_back(input);
      continue;
    }
    std::vector<fs::path> inFolder;
    for (const auto& entry : fs::directory_iterator(input, error))
      if (entry.is_regular_file() && isImageFile(entry.path())) inFolder.push_back(entry.path());
    if (error) throw CommandError(input.string() + ": " + error.message());
    std::sort(inFolder.begin(), inFolder.end());
    files.insert(files.end(), inFolder.begin(), inFolder.end());
  }
  return files;
}

struct ImageOutcome {
  fs::path input;
  Failure failure;
  std::vector<fs::path> outputs;
  nlohmann::ordered_json runStatus;  // the run status's properties, null when none
  double elapsedMs = 0;
};

class JobRunner {
 public:
  JobRunner(const RunOptions& options) : options_(options) {
    ComPtr<IUnknown> loaded = loadComponentFile(options.job);
    tool_ = loaded.as<ILumTool>();
    dispatch_ = loaded.as<IDispatch>();
    if (!tool_ || !dispatch_) throw CommandError(options.job + ": holds no tool");
    ComPtr<ILumStringCollection> inputs, outputs;
    tool_->get_ExposedInputProperties(inputs.put());
    tool_->get_ExposedOutputProperties(outputs.put());
    const auto exposedInputs = exposedImages(inputs.get());
    if (exposedInputs.empty()) throw CommandError(options.job + ": the tool takes no input image");
    inputPath_ = exposedInputs.front().path;
    outputs_ = exposedImages(outputs.get());
    if (!options.region.empty())
      if (Failure f = putProperty(dispatch_.get(), L"Region", {},
                                  lum::Variant(parseRegion(options.region).as<IDispatch>().get()));
          f.failed())
        throw CommandError("Region: " + describe(f), kExitFailure);
  }

  ImageOutcome run(const fs::path& input) {
    ImageOutcome outcome{input, {}, {}, nullptr, 0};
    const auto start = std::chrono::steady_clock::now();
    try {
      runOne(outcome);
    } catch (const CommandError& e) {
      outcome.failure = {e.hr(), wide(e.what()), L"lumxip"};
    }
    outcome.elapsedMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return outcome;
  }

 private:
  void runOne(ImageOutcome& outcome) {
    ComPtr<ILumImage> image = readImageFile(outcome.input);
    if (Failure f =
            putProperty(dispatch_.get(), inputPath_, {}, lum::Variant(image.as<IDispatch>().get()));
        f.failed()) {
      outcome.failure = f;
      return;
    }
    if (HRESULT hr = tool_->Run(); FAILED(hr)) {
      outcome.failure = failureOf(hr);
      return;
    }
    ComPtr<ILumRunStatus> status;
    tool_->get_RunStatus(status.put());
    LONG result = 0;
    lum::Bstr message, source;
    if (status) {
      outcome.runStatus = readableProperties(status.get());
      status->get_ResultCode(&result);
      status->get_Message(message.put());
      status->get_ErrorSource(source.put());
    }
    if (FAILED(result)) {
      outcome.failure = {result, std::wstring(message.view()), std::wstring(source.view())};
      return;
    }
    for (const auto& output : outputs_) {
      lum::Variant value;
      auto produced = getProperty(dispatch_.get(), output.path, &value).failed()
                          ? ComPtr<ILumImage>()
                          : dispatchOf(value).as<ILumImage>();
      if (!produced) continue;
      const fs::path file = fs::path(options_.outputDir) /
                            (outcome.input.stem().string() + "." + utf8(output.name) + ".png");
      writeImageFile(file, produced.get());
      outcome.outputs.push_back(file);
    }
  }

  const RunOptions& options_;
  ComPtr<ILumTool> tool_;
  ComPtr<IDispatch> dispatch_;
  std::wstring inputPath_;
  std::vector<ExposedImage> outputs_;
};

nlohmann::ordered_json outcomeJson(const ImageOutcome& outcome) {
  nlohmann::ordered_json entry = failureJson(outcome.failure);
  entry["input"] = outcome.input.string();
  entry["outputs"] = nlohmann::ordered_json::array();
  for (const auto& file : outcome.outputs)
    entry["outputs"].push_back(file.string());
  entry["elapsed_ms"] = outcome.elapsedMs;
  return entry;
}

// One line of --jsonl: the image's outcome with its run status.
std::string outcomeLine(const ImageOutcome& outcome) {
  nlohmann::ordered_json entry = outcomeJson(outcome);
  entry["run_status"] = outcome.runStatus;
  return entry.dump();
}

int runJob(const RunOptions& options) {
  const std::vector<fs::path> inputs = expandInputs(options.inputs);
  if (inputs.empty()) throw CommandError("no input images (give --input FILE or DIR)");
  std::error_code error;
  fs::create_directories(options.outputDir, error);
  if (error) throw CommandError(options.outputDir + ": " + error.message());
  JobRunner runner(options);

  ProgressBar progress(inputs.size());
  nlohmann::ordered_json images = nlohmann::ordered_json::array();
  std::size_t failures = 0;
  double totalMs = 0;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const ImageOutcome outcome = runner.run(inputs[i]);
    totalMs += outcome.elapsedMs;
    if (outcome.failure.failed()) {
      ++failures;
      progress.clear();
      const bool named = outcome.failure.description.find(outcome.input.wstring()) == 0;
      std::cerr << "lumxip: " << (named ? "" : outcome.input.string() + ": ")
                << describe(outcome.failure) << "\n";
    } else if (!options.json && !options.jsonLines) {
      progress.clear();
      for (const auto& file : outcome.outputs)
        std::cout << file.string() << "\n";
    }
    if (options.jsonLines) {
      progress.clear();
      std::cout << outcomeLine(outcome) << std::endl;  // flushed: a reader sees each image
    }
    images.push_back(outcomeJson(outcome));
    progress.show(i + 1, outcome.input.filename().string());
  }
  progress.clear();
  const double meanMs = totalMs / static_cast<double>(inputs.size());
  if (options.json) {
    std::cout << nlohmann::ordered_json{{"job", options.job},
                                        {"images", images},
                                        {"count", inputs.size()},
                                        {"failures", failures},
                                        {"mean_ms", meanMs}}
                     .dump(2)
              << "\n";
  } else if (!options.jsonLines) {
    std::cout << inputs.size() << " images, " << failures << " failed, " << meanMs
              << " ms per image on average\n";
  }
  return failures > 0 ? kExitFailure : kExitSuccess;
}

}  // namespace

void addRunCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<RunOptions>();
  CLI::App* run = app.add_subcommand("run", "Run a saved tool on images");
  run->add_option("JOB", options->job, "Saved tool (.json or binary)")->required();
  run->add_option("--input", options->inputs,
                  "Input image file or folder; - reads file names from stdin; repeatable");
  run->add_option("--region", options->region, "X,Y,W,H or @FILE of a saved region");
  run->add_option("-o,--output", options->outputDir, "Folder for the output images")
      ->capture_default_str();
  CLI::Option* json =
      run->add_flag("--json", options->json, "Print the outcome as one JSON object");
  run->add_flag("--jsonl", options->jsonLines, "Print one JSON line per image as it is done")
      ->excludes(json);
  run->callback([options, &exitCode] { exitCode = runJob(*options); });
}

}  // namespace lumxip
