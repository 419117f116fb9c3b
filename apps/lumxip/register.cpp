// `lumxip register [MODULE]` and `lumxip unregister [MODULE]`: enter a module's classes in
// the persistent registry, or take them out. Without MODULE, the component library this
// program runs with.

#include <dlfcn.h>

#include <iostream>
#include <memory>

#include "commands.h"
#include "host.h"
#include "registry_stand_in.h"

namespace lumxip {
namespace {

// The file of the loaded library that exports DllRegisterServer: the component library.
std::filesystem::path componentLibraryPath() {
  void* entry = ::dlsym(RTLD_DEFAULT, "DllRegisterServer");
  Dl_info info{};
  if (entry == nullptr || ::dladdr(entry, &info) == 0 || info.dli_fname == nullptr)
    throw CommandError("cannot find the component library; name the MODULE", kExitFailure);
  return std::filesystem::canonical(info.dli_fname);
}

int runRegistration(const std::string& module, bool enter) {
  const std::filesystem::path file =
      module.empty() ? componentLibraryPath() : std::filesystem::path(module);
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    throw CommandError(file.string() + ": no such module");
  SetErrorInfo(0, nullptr);
  const HRESULT hr = enter ? lum::registerModuleFile(file) : lum::unregisterModuleFile(file);
  if (FAILED(hr)) throw CommandError(file.string() + ": " + describe(failureOf(hr)), kExitFailure);
  std::cout << (enter ? "Registered " : "Unregistered ") << file.string() << " in "
            << lum::registryFilePath().string() << "\n";
  return kExitSuccess;
}

void addRegistration(CLI::App& app, int& exitCode, bool enter) {
  auto module = std::make_shared<std::string>();
  CLI::App* command =
      app.add_subcommand(enter ? "register" : "unregister",
                         enter ? "Enter a module's classes in the persistent registry"
                               : "Take a module's classes out of the persistent registry");
  command->add_option("MODULE", *module, "Shared library; by default the component library");
  command->callback([module, enter, &exitCode] { exitCode = runRegistration(*module, enter); });
}

}  // namespace

void addRegisterCommands(CLI::App& app, int& exitCode) {
  addRegistration(app, exitCode, true);
  addRegistration(app, exitCode, false);
}

}  // namespace lumxip
