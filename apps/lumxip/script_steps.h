#pragma once
// `--set PATH=VALUE` and `--call 'PATH(ARG,...)'` applied to a component through dispatch,
// in the order the command line gives them.

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host.h"

namespace lumxip {

struct ScriptStep {
  enum Kind { set, call } kind;
  std::string text;
};

// Adds --set or --call to `command`; each occurrence goes to `append` as soon as it is
// parsed, so that the steps keep the command line's order.
void addStepOption(CLI::App& command, ScriptStep::Kind kind, std::function<void(ScriptStep)> append,
                   const std::string& help);

// Sets a property. The path may lead through objects ("Operators.Item(0).ConstantValue")
// and end in an indexed property ("Weight(2)=0.5"). CommandError for text that does not
// parse; the failure of the component's member otherwise.
Failure applySet(IDispatch* root, std::string_view assignment);

// Calls a method with the arguments given; `result` receives what it returns.
Failure applyCall(IDispatch* root, std::string_view call, lum::Variant* result = nullptr);

// Applies the steps in order; stops at the first failure, and names the failing step in
// `failedStep`.
Failure applySteps(IDispatch* root, const std::vector<ScriptStep>& steps,
                   std::string* failedStep = nullptr);

}  // namespace lumxip
