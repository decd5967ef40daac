#include "run/DesktopPart.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>

#include "run/CommandLineAnswer.h"

namespace pricora {

int runDesktopPart(int argc, char** argv) {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::string module = (program.parent_path() / PRICORA_DESKTOP_MODULE).lexically_normal().string();
  // Never closed: the application's objects and Qt's hooks into them live until the process ends.
  void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return reportNoDesktopPart(argc, argv, dlerror());
  using Run = int (*)(int, char**);
  const auto run = reinterpret_cast<Run>(dlsym(handle, "pricora_run_desktop"));
  if (run == nullptr) return reportNoDesktopPart(argc, argv, dlerror());
  return run(argc, argv);
}

}  // namespace pricora
