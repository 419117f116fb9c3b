#pragma once
// The subcommands. Each adds itself with its options to the program's parser; when the
// command line selects it, it runs and stores its exit code in `exitCode`.

#include <CLI/CLI.hpp>

namespace lumxip {

// `lumxip` without arguments runs the demo with its defaults.
int runDefaultDemo();

void addDemoCommand(CLI::App& app, int& exitCode);
void addRunCommand(CLI::App& app, int& exitCode);
void addExecCommand(CLI::App& app, int& exitCode);
void addListCommand(CLI::App& app, int& exitCode);
void addDescribeCommand(CLI::App& app, int& exitCode);
void addNewCommand(CLI::App& app, int& exitCode);
void addRegisterCommands(CLI::App& app, int& exitCode);

}  // namespace lumxip
