// `lumxip describe PROGID`: the members a component answers by name, from its own
// description.

#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

#include "commands.h"
#include "host.h"
#include "member_info.h"

namespace lumxip {
namespace {

int runDescribe(const std::string& progId) {
  ComPtr<IDispatch> component = createComponent(progId);
  const auto members = membersOf(component.get());
  if (members.empty()) throw CommandError(progId + " does not describe its members", kExitFailure);
  std::cout << progId << "\n";
  for (const auto& m : members) {
    std::ostringstream line;
    line << "  " << std::left << std::setw(10) << hresultText(m.dispid).substr(2) << std::setw(20)
         << utf8(m.kind) << std::setw(30) << utf8(m.name) << typeName(m.type);
    if (!m.defaultValue.empty()) line << " = " << utf8(m.defaultValue);
    std::string text = line.str();
    text.erase(text.find_last_not_of(' ') + 1);
    std::cout << text << "\n";
    if (!m.description.empty()) std::cout << "        " << utf8(m.description) << "\n";
    for (const auto& [name, value] : m.enumeration)
      std::cout << "        " << value << " " << utf8(name) << "\n";
  }
  return kExitSuccess;
}

}  // namespace

void addDescribeCommand(CLI::App& app, int& exitCode) {
  auto progId = std::make_shared<std::string>();
  CLI::App* describeApp = app.add_subcommand(
      "describe", "List a component's members: dispatch IDs, kinds, types, defaults");
  describeApp->add_option("PROGID", *progId, "ProgID of the component")->required();
  describeApp->callback([progId, &exitCode] { exitCode = runDescribe(*progId); });
}

}  // namespace lumxip
