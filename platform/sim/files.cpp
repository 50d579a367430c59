#include "platform/files.h"

#include <cstdio>
#include <string>

#include "platform/sim/profile_reader.h"
#include "platform/sim/state.h"

namespace platform {

// Windows paths name files in the working directory; the host wants slashes.
static std::string HostPath(const char* path) {
  std::string out = path ? path : "";
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t default_value,
                               const char* file) {
  sim::Lock lock = sim::Enter();
  int32_t value = ReadProfileIntFile(HostPath(file).c_str(), section, key, default_value);
  sim::Trace("GetPrivateProfileIntA %s %s %s = %d", section, key, file, value);
  return static_cast<uint32_t>(value);
}

Handle OpenFile(const char* path, const char* mode) {
  sim::Lock lock = sim::Enter();
  FILE* f = sim::Failing("fopen") ? nullptr : std::fopen(HostPath(path).c_str(), mode);
  sim::Trace("fopen %s %s%s", path, mode, f ? "" : " fails");
  return f;
}

size_t WriteFile(Handle file, const void* data, size_t size) {
  sim::Lock lock = sim::Enter();
  if (!file) {
    sim::Trace("fwrite on a null stream");  // would crash on Windows
    sim::EndChild(139);
  }
  return std::fwrite(data, 1, size, static_cast<FILE*>(file));
}

int32_t CloseFile(Handle file) {
  sim::Lock lock = sim::Enter();
  sim::Trace("fclose");
  return std::fclose(static_cast<FILE*>(file));
}

}  // namespace platform
