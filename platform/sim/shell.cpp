#include "platform/shell.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/sim/state.h"

namespace sim {

// The one command whose effect the programs rely on: "/c copy .\X "FOLDER" /y"
// copies the file X into FOLDER, overwriting it; a missing X copies nothing.
// The switches before "/c" change nothing here.
static void RunCopy(std::string parameters) {
  const std::string switches = "/d /v:off ", prefix = "/c copy ";
  if (parameters.rfind(switches, 0) == 0) parameters = parameters.substr(switches.size());
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

intptr_t ShellRun(Handle owner, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                  const char16_t* directory, int32_t show) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("ShellExecuteW");
  std::string text = parameters ? sim::Utf8(parameters) : "";
  sim::Trace("ShellExecuteW %p %s %s \"%s\" %s %d%s", owner, sim::Utf8(verb).c_str(), sim::Utf8(file).c_str(),
             text.c_str(), sim::Utf8(directory).c_str(), show, fails ? " fails" : "");
  if (!fails && parameters) sim::RunCopy(text);
  return fails ? 2 : 42;
}

int32_t SetEnvironment(const char16_t* name, const char16_t* value) {
  sim::Lock lock = sim::Enter();
  sim::Trace("SetEnvironmentVariableW %s=%s", sim::Utf8(name).c_str(), value ? sim::Utf8(value).c_str() : "(none)");
  return 1;
}

uint32_t WindowsFolder(char16_t* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  return sim::GiveText(sim::Utf16(sim::S().world.windows_dir), buffer, size);
}

uint32_t SystemFolder(char16_t* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  return sim::GiveText(sim::Utf16(sim::S().world.system_dir), buffer, size);
}

uint32_t NativeSystemFolder(char16_t* buffer, uint32_t size) { return SystemFolder(buffer, size); }

int32_t SpecialFolderPath(Handle owner, char16_t* path, int32_t folder, int32_t create) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("SHGetSpecialFolderPathW");
  sim::Trace("SHGetSpecialFolderPathW %p %d %d%s", owner, folder, create, fails ? " fails" : "");
  if (fails) return 0;
  std::u16string dir = sim::Utf16(folder == 24 ? sim::S().world.common_startup_dir : sim::S().world.startup_dir);
  if (dir.size() > 259) dir.resize(259);  // MAX_PATH with its terminator
  sim::GiveText(dir, path, 260);
  return 1;
}

}  // namespace platform
