#include "platform/shell.h"

#include <cstring>

#include "platform/sim/state.h"

namespace platform {

intptr_t ShellExecuteA(Handle owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int32_t show) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("ShellExecuteA");
  sim::Trace("ShellExecuteA %p %s %s \"%s\" %s %d%s", owner, verb ? verb : "null",
             file ? file : "null", parameters ? parameters : "", directory ? directory : "null",
             show, fails ? " fails" : "");
  return fails ? 2 : 42;
}

uint32_t GetSystemDirectoryA(char* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  const std::string& dir = sim::S().world.system_dir;
  if (dir.size() + 1 > size) return static_cast<uint32_t>(dir.size() + 1);
  std::memcpy(buffer, dir.c_str(), dir.size() + 1);
  return static_cast<uint32_t>(dir.size());
}

}  // namespace platform
