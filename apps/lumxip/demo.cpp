// `lumxip demo`: a one-image tool with a chain of operators runs on the built-in sample;
// the input, every intermediate image and the output are written as PNG files.

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "dispatch_calls.h"
#include "host.h"
#include "sample_image.h"
#include "script_steps.h"

namespace lumxip {
namespace {

struct DemoOptions {
  std::string outputDir = "lumxip-out";
  std::string writeSample;
};

struct ChainStep {
  const char* name;
  const char* progId;
  std::vector<std::string> settings;
};

// Smooths away the noise, stretches the contrast, darkens, then keeps the edges.
const std::vector<ChainStep>& demoChain() {
  static const std::vector<ChainStep> chain = {
      {"Smooth", "Halvex.LumIPOneImageConvolve3x3", {}},
      {"Contrast", "Halvex.LumIPOneImageMultiplyConstant", {"ConstantValue=1.4"}},
      {"Darken", "Halvex.LumIPOneImageAddSubtractConstant", {"ConstantValue=-40"}},
      {"Edges", "Halvex.LumIPOneImageHighPassFilter", {"SmoothnessX=3", "SmoothnessY=3"}},
  };
  return chain;
}

void check(const Failure& f, const std::string& what) {
  if (f.failed()) throw CommandError(what + ": " + describe(f), kExitFailure);
}

ComPtr<ILumIPOneImageTool> makeDemoTool() {
  auto tool = createComponent("Halvex.LumIPOneImageTool").as<ILumIPOneImageTool>();
  ComPtr<ILumIPOneImageOperators> operators;
  check(failureOf(tool->get_Operators(operators.put())), "Operators");
  for (const auto& step : demoChain()) {
    ComPtr<IDispatch> op = createComponent(step.progId);
    check(applySet(op.get(), std::string("OperatorName=\"") + step.name + "\""), step.name);
    for (const auto& setting : step.settings)
      check(applySet(op.get(), setting), setting);
    check(failureOf(operators->Add(op.as<ILumIPOneImageOperatorParams>().get(), -1)), "Add");
  }
  // Keep the intermediate images for the last-run record.
  check(applySet(tool.as<IDispatch>().get(),
                 "LastRunRecordDiagEnable=" +
                     std::to_string(lumIPOneImageLastRunRecordDiagInputImageByReference |
                                    lumIPOneImageLastRunRecordDiagIntermediateImages)),
        "LastRunRecordDiagEnable");
  return tool;
}

// "IntermediateImage - 2" with annotation "Contrast - 2" is written as "2-Contrast.png".
std::vector<std::filesystem::path> writeIntermediates(ILumIPOneImageTool& tool,
                                                      const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> written;
  ComPtr<ILumRecord> record;
  check(failureOf(tool.CreateLastRunRecord(record.put())), "CreateLastRunRecord");
  LONG count = 0;
  record->get_SubRecordCount(&count);
  for (LONG i = 0; i < count; ++i) {
    ComPtr<ILumRecord> sub;
    lum::Bstr key, annotation;
    lum::Variant content;
    if (FAILED(record->get_SubRecord(*lum::Variant(static_cast<int32_t>(i)).ptr(), sub.put())) ||
        FAILED(sub->get_Key(key.put())) || !key.view().starts_with(L"IntermediateImage"))
      continue;
    sub->get_Annotation(annotation.put());
    sub->get_Content(content.put());
    const std::wstring text(annotation.view());  // "<name> - <n>"
    const std::size_t dash = text.rfind(L" - ");
    const std::wstring file =
        dash == std::wstring::npos ? text : text.substr(dash + 3) + L"-" + text.substr(0, dash);
    auto image = dispatchOf(content).as<ILumImage>();
    if (!image) continue;
    written.push_back(dir / (utf8(file) + ".png"));
    writeImageFile(written.back(), image.get());
  }
  return written;
}

int runDemo(const DemoOptions& options) {
  ComPtr<ILumImage> sample = makeSampleImage();
  if (!options.writeSample.empty()) {
    writeImageFile(options.writeSample, sample.get());
    std::cout << "Wrote the sample image (" << kSampleWidth << " x " << kSampleHeight
              << ", 8-bit grey) to " << options.writeSample << "\n";
    return kExitSuccess;
  }
  const std::filesystem::path dir = options.outputDir;
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw CommandError(dir.string() + ": " + error.message());

  auto tool = makeDemoTool();
  std::cout << "Running a LumIPOneImageTool on the built-in sample (" << kSampleWidth << " x "
            << kSampleHeight << ", 8-bit grey). Its chain:\n";
  int position = 1;
  for (const auto& step : demoChain()) {
    std::cout << "  " << position++ << ". " << step.name << ": " << step.progId;
    for (const auto& setting : step.settings)
      std::cout << " " << setting;
    std::cout << "\n";
  }
  check(failureOf(tool->putref_InputImage(sample.get())), "InputImage");
  check(failureOf(tool->Run()), "Run");

  ComPtr<ILumRunStatus> status;
  check(failureOf(tool->get_RunStatus(status.put())), "RunStatus");
  LONG result = 0;
  lum::Bstr message;
  double processing = 0, total = 0;
  status->get_ResultCode(&result);
  status->get_Message(message.put());
  status->get_ProcessingTime(&processing);
  status->get_TotalTime(&total);
  std::cout << "Run status: result " << hresultText(result) << ", message \""
            << utf8(message.view()) << "\", processing " << processing << " ms, total " << total
            << " ms\n";

  std::vector<std::filesystem::path> written{dir / "0-input.png"};
  writeImageFile(written.back(), sample.get());
  for (auto& file : writeIntermediates(*tool, dir))
    written.push_back(std::move(file));
  ComPtr<ILumImage> output;
  tool->get_OutputImage(output.put());
  if (output) {
    written.push_back(dir / "output.png");
    writeImageFile(written.back(), output.get());
  }
  std::cout << "Images written:\n";
  for (const auto& file : written)
    std::cout << "  " << file.string() << "\n";
  return FAILED(result) ? kExitFailure : kExitSuccess;
}

}  // namespace

int runDefaultDemo() {
  return runDemo(DemoOptions{});
}

void addDemoCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<DemoOptions>();
  CLI::App* demo = app.add_subcommand(
      "demo", "Run a built-in job on a built-in sample image and write every image as PNG");
  demo->add_option("-o,--output", options->outputDir, "Folder for the images")
      ->capture_default_str();
  demo->add_option("--write-sample", options->writeSample,
                   "Only write the sample image to this file");
  demo->callback([options, &exitCode] { exitCode = runDemo(*options); });
}

}  // namespace lumxip
