// `lumxip exec PROGID ...`: one component made by ProgID, set up and called by name, then
// its Execute on the input image(s), as a script would drive it.

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "commands.h"
#include "dispatch_calls.h"
#include "json_results.h"
#include "member_info.h"
#include "script_steps.h"
#include "values.h"

namespace lumxip {
namespace {

struct ExecOptions {
  std::string progId;
  std::vector<ScriptStep> steps;  // --set and --call in the order given
  std::string input, inputB, region, output;
  int regionMode = lumRegionModePixelAlignedBoundingBox;
  bool json = false;
};

struct ExecOutcome {
  Failure failure;
  std::optional<std::string> outputFile;
  nlohmann::ordered_json results = nlohmann::ordered_json::object();
  double elapsedMs = 0;
};

// Whether the component keeps its region mode as a property (an edge detector, say), or
// has none at all: only the one-image operators take it as an argument of Execute.
bool executeTakesNoRegionMode(IDispatch* component) {
  for (const auto& member : membersOf(component))
    if (member.name == L"RegionMode" && member.readable()) return true;
  return !ComPtr<IDispatch>(component).as<ILumIPOneImageOperator>();
}

// Execute through dispatch: (input, regionMode, region) for a one-image operator, (input,
// region) for one that keeps its region mode as a property; (inputA, inputB, regionA,
// regionB) with a second input, whose region stays empty.
Failure callExecute(IDispatch* component, const ExecOptions& options, lum::Variant* result,
                    double* elapsedMs) {
  const lum::Variant noObject(static_cast<IDispatch*>(nullptr));
  const lum::Variant region =
      options.region.empty() ? noObject : lum::Variant(parseRegion(options.region).get());
  std::vector<lum::Variant> args;
  args.push_back(options.input.empty() ? noObject
                                       : lum::Variant(readImageFile(options.input).get()));
  if (!options.inputB.empty()) {
    args.emplace_back(readImageFile(options.inputB).get());
    args.push_back(region);
    args.push_back(noObject);
  } else {
    args.emplace_back(static_cast<int32_t>(options.regionMode));
    args.push_back(region);
  }
  if (options.inputB.empty() && executeTakesNoRegionMode(component)) args.erase(args.begin() + 1);
  const auto start = std::chrono::steady_clock::now();
  Failure f = invokeByName(component, L"Execute", DISPATCH_METHOD, std::move(args), result);
  *elapsedMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  return f;
}

// A result object's images (an edge result's angle and magnitude images, say) go into
// the directory `-o` names, one PNG per image property: "<property>.png".
void writeResultImages(IUnknown* result, const std::string& directory) {
  ComPtr<IDispatch> dispatch;
  if (FAILED(result->QueryInterface(iid_of<IDispatch>, dispatch.putVoid()))) return;
  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (error) throw CommandError(directory + ": " + error.message());
  for (const auto& member : membersOf(result)) {
    if (!member.readable()) continue;
    lum::Variant value;
    if (getProperty(dispatch.get(), member.name, &value).failed()) continue;
    if (auto image = dispatchOf(value).as<ILumImage>())
      writeImageFile(std::filesystem::path(directory) / (utf8(member.name) + ".png"), image.get());
  }
}

ExecOutcome execute(const ExecOptions& options) {
  ComPtr<IDispatch> component = createComponent(options.progId);
  ExecOutcome outcome;
  std::string failedStep;
  outcome.failure = applySteps(component.get(), options.steps, &failedStep);
  if (outcome.failure.failed()) {
    std::cerr << "lumxip: " << failedStep << ": " << describe(outcome.failure) << "\n";
    return outcome;
  }
  lum::Variant result;
  outcome.failure = callExecute(component.get(), options, &result, &outcome.elapsedMs);
  if (outcome.failure.failed()) return outcome;
  if (auto image = dispatchOf(result).as<ILumImage>(); image && !options.output.empty()) {
    writeImageFile(options.output, image.get());
    outcome.outputFile = options.output;
  } else if (dispatchOf(result) && !options.output.empty()) {
    writeResultImages(result.get().punkVal, options.output);
    outcome.outputFile = options.output;
  }
  if (dispatchOf(result))
    outcome.results = readableProperties(result.get().punkVal);
  else if (result.type() != VT_EMPTY)
    outcome.results = {{"value", toJson(result.get())}};
  return outcome;
}

int runExec(const ExecOptions& options) {
  const ExecOutcome outcome = execute(options);
  if (options.json) {
    nlohmann::ordered_json report = failureJson(outcome.failure);
    report["output"] = outcome.outputFile ? nlohmann::ordered_json(*outcome.outputFile) : nullptr;
    report["results"] = outcome.results;
    report["elapsed_ms"] = outcome.elapsedMs;
    std::cout << report.dump(2) << "\n";
  } else if (outcome.failure.failed()) {
    std::cerr << "lumxip: " << options.progId << ": " << describe(outcome.failure) << "\n";
  } else {
    std::cout << options.progId << ": Execute took " << outcome.elapsedMs << " ms";
    if (outcome.outputFile) std::cout << "; output written to " << *outcome.outputFile;
    std::cout << "\n" << outcome.results.dump(2) << "\n";
  }
  return outcome.failure.failed() ? kExitFailure : kExitSuccess;
}

}  // namespace

void addExecCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ExecOptions>();
  CLI::App* exec = app.add_subcommand(
      "exec", "Create a component by ProgID, set it up by name and call its Execute");
  exec->add_option("PROGID", options->progId, "ProgID of the component")->required();
  auto append = [options](ScriptStep step) { options->steps.push_back(std::move(step)); };
  addStepOption(*exec, ScriptStep::set, append,
                "NAME=VALUE or NAME(INDEX)=VALUE; @FILE passes the object a file holds");
  addStepOption(*exec, ScriptStep::call, append,
                "METHOD(ARG,...), in order with the --set options");
  exec->add_option("--input", options->input, "Input image file");
  exec->add_option("--input-b", options->inputB, "Second input image file");
  exec->add_option("--region", options->region, "X,Y,W,H or @FILE of a saved region");
  exec->add_option("--region-mode", options->regionMode, "Region mode (1 or 2)")
      ->capture_default_str();
  exec->add_option(
      "-o,--output", options->output,
      "Output image file (.png, .pgm, ...); for a result object, a directory for its images");
  exec->add_flag("--json", options->json, "Print the outcome as one JSON object");
  exec->callback([options, &exitCode] { exitCode = runExec(*options); });
}

}  // namespace lumxip
