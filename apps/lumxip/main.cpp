// lumxip: the library on the command line. Exit codes: 0 success, 1 the library reported
// a failure, 2 a usage error or a file that cannot be read.

#include <iostream>

#include "commands.h"
#include "host.h"

int main(int argc, char** argv) {
  using namespace lumxip;
  CLI::App app{"lumxip: machine-vision image processing components on the command line"};
  app.set_version_flag("--version", LUMXIP_VERSION);
  app.require_subcommand(0, 1);
  int exitCode = kExitSuccess;
  addDemoCommand(app, exitCode);
  addRunCommand(app, exitCode);
  addExecCommand(app, exitCode);
  addListCommand(app, exitCode);
  addDescribeCommand(app, exitCode);
  addNewCommand(app, exitCode);
  addRegisterCommands(app, exitCode);
  try {
    app.parse(argc, argv);
    if (app.get_subcommands().empty()) exitCode = runDefaultDemo();
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return kExitUsage;
  } catch (const CommandError& e) {
    std::cerr << "lumxip: " << e.what() << "\n";
    return e.exitCode();
  } catch (const std::exception& e) {
    std::cerr << "lumxip: " << e.what() << "\n";
    return kExitFailure;
  }
  return exitCode;
}
