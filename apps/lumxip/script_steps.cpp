#include "script_steps.h"

#include "dispatch_calls.h"
#include "values.h"

namespace lumxip {
namespace {

std::vector<lum::Variant> argumentsFor(IDispatch* target, const PathSegment& segment) {
  const auto members = membersOf(target);
  std::vector<lum::Variant> args;
  for (const auto& text : segment.args)
    args.push_back(parseValue(text, members));
  return args;
}

// Follows every segment but the last; the object reached, or the failure on the way.
Failure walk(IDispatch* root, const std::vector<PathSegment>& path, ComPtr<IDispatch>& target) {
  target = root;
  for (std::size_t i = 0; i + 1 < path.size(); ++i) {
    lum::Variant next;
    Failure f = invokeByName(target.get(), path[i].name, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                             argumentsFor(target.get(), path[i]), &next);
    if (f.failed()) return f;
    target = dispatchOf(next);
    if (!target) return Failure{E_POINTER, path[i].name + L" gives no object", L""};
  }
  return {};
}

}  // namespace

void addStepOption(CLI::App& command, ScriptStep::Kind kind, std::function<void(ScriptStep)> append,
                   const std::string& help) {
  command
      .add_option_function<std::string>(
          kind == ScriptStep::set ? "--set" : "--call",
          [kind, append](const std::string& text) {
            append({kind, text});
          },
          help)
      ->trigger_on_parse()
      ->allow_extra_args(false)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

Failure applySet(IDispatch* root, std::string_view assignment) {
  const auto [lhs, rhs] = splitAssignment(assignment);
  const auto path = parsePath(lhs);
  ComPtr<IDispatch> target;
  if (Failure f = walk(root, path, target); f.failed()) return f;
  const PathSegment& last = path.back();
  return putProperty(target.get(), last.name, argumentsFor(target.get(), last),
                     parseValue(rhs, membersOf(target.get())));
}

Failure applyCall(IDispatch* root, std::string_view call, lum::Variant* result) {
  const auto path = parsePath(call);
  ComPtr<IDispatch> target;
  if (Failure f = walk(root, path, target); f.failed()) return f;
  return invokeByName(target.get(), path.back().name, DISPATCH_METHOD,
                      argumentsFor(target.get(), path.back()), result);
}

Failure applySteps(IDispatch* root, const std::vector<ScriptStep>& steps, std::string* failedStep) {
  for (const auto& step : steps) {
    Failure f =
        step.kind == ScriptStep::set ? applySet(root, step.text) : applyCall(root, step.text);
    if (f.failed()) {
      if (failedStep)
        *failedStep = (step.kind == ScriptStep::set ? "--set " : "--call ") + step.text;
      return f;
    }
  }
  return {};
}

}  // namespace lumxip
