#include "platform/shell.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/sim/state.h"

namespace sim {

// The one command whose effect the programs rely on: "/c copy .\X "FOLDER" /y"
// copies the file X into FOLDER, overwriting it; a missing X copies nothing.
static void RunCopy(const std::string& parameters) {
  const std::string prefix = "/c copy ";
  size_t space = parameters.find(" \"", prefix.size());
  size_t close = parameters.rfind("\" /y");
  if (parameters.rfind(prefix, 0) != 0 || space == std::string::npos || close == std::string::npos ||
      close <= space)
    return;
  std::string source = parameters.substr(prefix.size(), space - prefix.size());
  std::string folder = parameters.substr(space + 2, close - space - 2);
  std::string from = HostPath(source.c_str());
  std::string to = HostPath(folder.c_str()) + "/" + std::filesystem::path(from).filename().string();
  std::error_code error;
  bool copied = std::filesystem::copy_file(
      from, to, std::filesystem::copy_options::overwrite_existing, error);
  Trace("cmd copies %s into \"%s\": %s", source.c_str(), folder.c_str(),
        copied ? "copied" : "nothing copied");
}

}  // namespace sim

namespace platform {

intptr_t ShellExecuteA(Handle owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int32_t show) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("ShellExecuteA");
  sim::Trace("ShellExecuteA %p %s %s \"%s\" %s %d%s", owner, verb ? verb : "null",
             file ? file : "null", parameters ? parameters : "", directory ? directory : "null",
             show, fails ? " fails" : "");
  if (!fails && parameters) sim::RunCopy(parameters);
  return fails ? 2 : 42;
}

int32_t SetEnvironmentVariableA(const char* name, const char* value) {
  sim::Lock lock = sim::Enter();
  sim::Trace("SetEnvironmentVariableA %s=%s", name, value ? value : "(none)");
  return 1;
}

uint32_t GetSystemDirectoryA(char* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  const std::string& dir = sim::S().world.system_dir;
  if (dir.size() + 1 > size) return static_cast<uint32_t>(dir.size() + 1);
  std::memcpy(buffer, dir.c_str(), dir.size() + 1);
  return static_cast<uint32_t>(dir.size());
}

int32_t SHGetSpecialFolderPathA(Handle owner, char* path, int32_t folder, int32_t create) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("SHGetSpecialFolderPathA");
  sim::Trace("SHGetSpecialFolderPathA %p %d %d%s", owner, folder, create, fails ? " fails" : "");
  if (fails) return 0;
  const std::string& dir = folder == 24 ? sim::S().world.common_startup_dir : sim::S().world.startup_dir;
  size_t length = dir.size() < 259 ? dir.size() : 259;  // MAX_PATH with its terminator
  std::memcpy(path, dir.c_str(), length);
  path[length] = '\0';
  return 1;
}

}  // namespace platform
