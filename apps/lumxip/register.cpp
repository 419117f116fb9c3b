// `lumxip register [MODULE]` and `lumxip unregister [MODULE]`: enter a module's classes in
// the persistent registry, or take them out. Without MODULE, every component module this
// program runs with (the core object library and the image-processing library: a process
// that loads the second from the registry needs the first as well).

#include <dlfcn.h>
#include <link.h>

#include <iostream>
#include <memory>
#include <vector>

#include "commands.h"
#include "host.h"
#include "platform/module_loader.h"
#include "platform/registry_file.h"

namespace lumxip {
namespace {

// The loaded libraries that export DllRegisterServer themselves.
std::vector<std::filesystem::path> loadedModules() {
  std::vector<std::filesystem::path> found;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* data) -> int {
        if (info->dlpi_name == nullptr || info->dlpi_name[0] == '\0') return 0;
        void* handle = ::dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD);
        if (handle == nullptr) return 0;
        void* entry = ::dlsym(handle, "DllRegisterServer");
        std::error_code error;
        if (entry != nullptr &&
            lum::modulePathOf(entry) == std::filesystem::canonical(info->dlpi_name, error))
          static_cast<std::vector<std::filesystem::path>*>(data)->push_back(
              lum::modulePathOf(entry));
        ::dlclose(handle);
        return 0;
      },
      &found);
  if (found.empty())
    throw CommandError("cannot find the component libraries; name the MODULE", kExitFailure);
  return found;
}

void registerOne(const std::filesystem::path& file, bool enter) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    throw CommandError(file.string() + ": no such module");
  SetErrorInfo(0, nullptr);
  const HRESULT hr = enter ? lum::registerModuleFile(file) : lum::unregisterModuleFile(file);
  if (FAILED(hr)) throw CommandError(file.string() + ": " + describe(failureOf(hr)), kExitFailure);
  std::cout << (enter ? "Registered " : "Unregistered ") << file.string() << " in "
            << lum::registryFilePath().string() << "\n";
}

int runRegistration(const std::string& module, bool enter) {
  if (!module.empty()) {
    registerOne(module, enter);
  } else {
    for (const auto& file : loadedModules())
      registerOne(file, enter);
  }
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
