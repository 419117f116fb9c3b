// `lumxip list`: every registered class with its ProgID, description and kind.

#include <iomanip>
#include <iostream>
#include <memory>

#include "commands.h"
#include "host.h"

namespace lumxip {
namespace {

// "tool", "operator" or "object", from the interfaces a new instance answers.
const char* kindOf(const CLSID& clsid) {
  ComPtr<IUnknown> object;
  if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid_of<IUnknown>,
                              object.putVoid())))
    return "?";
  if (object.as<ILumTool>()) return "tool";
  if (object.as<ILumIPOneImageOperatorParams>()) return "operator";
  return "object";
}

int runList() {
  for (const auto& registration : lum::registeredClasses()) {
    const std::wstring& progId = registration.versionIndependentProgId.empty()
                                     ? registration.versionedProgId
                                     : registration.versionIndependentProgId;
    if (progId.empty()) continue;
    std::cout << std::left << std::setw(44) << utf8(progId) << std::setw(10)
              << kindOf(registration.clsid) << utf8(registration.description) << "\n";
  }
  return kExitSuccess;
}

}  // namespace

void addListCommand(CLI::App& app, int& exitCode) {
  CLI::App* list = app.add_subcommand("list", "List every registered class");
  list->callback([&exitCode] { exitCode = runList(); });
}

}  // namespace lumxip
