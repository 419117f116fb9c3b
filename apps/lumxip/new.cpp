// `lumxip new PROGID [--add PROGID]... [--set PATH=VALUE]... -o JOB`: a new component,
// set up by name, saved as a job file.

#include <iostream>
#include <memory>

#include "commands.h"
#include "dispatch_calls.h"
#include "script_steps.h"

namespace lumxip {
namespace {

struct NewOptions {
  std::string progId;
  std::vector<std::string> operators;
  std::vector<ScriptStep> steps;
  std::string output;
};

int runNew(const NewOptions& options) {
  ComPtr<IDispatch> component = createComponent(options.progId);
  for (const auto& progId : options.operators) {
    ComPtr<IDispatch> op = createComponent(progId);
    lum::Variant chain;
    Failure f = getProperty(component.get(), L"Operators", &chain);
    if (!f.failed())
      f = invokeByName(dispatchOf(chain).get(), L"Add", DISPATCH_METHOD,
                       {lum::Variant(op.get()), lum::Variant(int32_t{-1})});
    if (f.failed()) throw CommandError("--add " + progId + ": " + describe(f), kExitFailure);
  }
  std::string failedStep;
  if (Failure f = applySteps(component.get(), options.steps, &failedStep); f.failed())
    throw CommandError(failedStep + ": " + describe(f), kExitFailure);
  saveComponentFile(options.output, component.get());
  std::cout << "Saved " << options.progId << " to " << options.output << "\n";
  return kExitSuccess;
}

}  // namespace

void addNewCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<NewOptions>();
  CLI::App* create = app.add_subcommand("new", "Create a component, set it up and save it");
  create->add_option("PROGID", options->progId, "ProgID of the component")->required();
  create->add_option("--add", options->operators,
                     "Append an operator of this ProgID to the tool's chain; repeatable");
  addStepOption(
      *create, ScriptStep::set,
      [options](ScriptStep step) { options->steps.push_back(std::move(step)); },
      "PATH=VALUE, after the operators are added: Operators.Item(0).ConstantValue=2");
  create->add_option("-o,--output", options->output, "Job file (.json: JSON, else binary)")
      ->required();
  create->callback([options, &exitCode] { exitCode = runNew(*options); });
}

}  // namespace lumxip
