#include "platform/files.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sim/profile_reader.h"
#include "platform/sim/state.h"
#include "platform/win_values.h"

namespace sim {

bool StartsWith(const std::string& path, const std::string& folder) {
  return path.size() >= folder.size() && strncasecmp(path.c_str(), folder.c_str(), folder.size()) == 0;
}

// The Startup folders are Startup/ and CommonStartup/ in the run's folder, the working directory
// the folder itself; other paths are relative to it. The host wants slashes.
std::string HostPath(const char* path) {
  std::string out = path ? path : "";
  if (StartsWith(out, S().world.startup_dir))
    out = "Startup" + out.substr(S().world.startup_dir.size());
  else if (StartsWith(out, S().world.common_startup_dir))
    out = "CommonStartup" + out.substr(S().world.common_startup_dir.size());
  else if (StartsWith(out, S().world.current_dir))
    out = "." + out.substr(S().world.current_dir.size());
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

}  // namespace sim

namespace platform {

using sim::HostPath;

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

int32_t Access(const char* path, int32_t mode) {
  sim::Lock lock = sim::Enter();
  int32_t result = access(HostPath(path).c_str(), F_OK) == 0 ? 0 : -1;
  sim::Trace("_access %s %d = %d", path, mode, result);
  return result;
}

int32_t RemoveFile(const char* path) {
  sim::Lock lock = sim::Enter();
  int32_t result = std::remove(HostPath(path).c_str()) == 0 ? 0 : -1;
  sim::Trace("remove %s = %d", path, result);
  return result;
}

// Copies as the path calls do: the length, or the size needed when it does not fit.
static uint32_t GivePath(const std::string& path, char* buffer, uint32_t size) {
  if (path.size() + 1 > size) return static_cast<uint32_t>(path.size() + 1);
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return static_cast<uint32_t>(path.size());
}

uint32_t GetCurrentDirectoryA(uint32_t size, char* buffer) {
  sim::Lock lock = sim::Enter();
  sim::Trace("GetCurrentDirectoryA %u", size);
  return GivePath(sim::S().world.current_dir, buffer, size);
}

uint32_t GetModuleFileNameA(char* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  const sim::World& w = sim::S().world;
  std::string path = (w.program_dir.empty() ? w.current_dir : w.program_dir) + "\\" + w.image_name;
  sim::Trace("GetModuleFileNameA %u", size);
  if (path.size() + 1 <= size) return GivePath(path, buffer, size);
  std::memcpy(buffer, path.c_str(), size - 1);  // cut short, as Windows does
  buffer[size - 1] = '\0';
  return size;
}

uint32_t GetLongPathNameA(const char* path, char* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  std::string out = path;
  for (const auto& name : sim::S().world.long_names)
    if (sim::StartsWith(out, name.first)) out = name.second + out.substr(name.first.size());
  bool fails = sim::Failing("GetLongPathNameA");
  sim::Trace("GetLongPathNameA %s%s", path, fails ? " fails" : "");
  return fails ? 0 : GivePath(out, buffer, size);
}

uint32_t GetFileAttributesA(const char* path) {
  sim::Lock lock = sim::Enter();
  std::string host = HostPath(path);
  struct stat info;
  uint32_t attributes = kInvalidFileAttributes;
  if (stat(host.c_str(), &info) == 0) {
    attributes = S_ISDIR(info.st_mode) ? kFileAttributeDirectory : 0x80;  // FILE_ATTRIBUTE_NORMAL
    if (sim::S().world.reparse_points.count(host.substr(host.rfind("./", 0) == 0 ? 2 : 0)))
      attributes |= kFileAttributeReparsePoint;
  }
  sim::Trace("GetFileAttributesA %s = %X", path, attributes);
  return attributes;
}

}  // namespace platform
