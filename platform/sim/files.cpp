#include "platform/files.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
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
  else if (StartsWith(out, S().world.system_dir))
    out = "System32" + out.substr(S().world.system_dir.size());
  else if (StartsWith(out, S().world.current_dir))
    out = "." + out.substr(S().world.current_dir.size());
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string HostPath(const char16_t* path) { return HostPath(Utf8(path).c_str()); }

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

int32_t Access(const char16_t* path, int32_t mode) {
  sim::Lock lock = sim::Enter();
  int32_t result = access(HostPath(path).c_str(), F_OK) == 0 ? 0 : -1;
  sim::Trace("_waccess %s %d = %d", sim::Utf8(path).c_str(), mode, result);
  return result;
}

int32_t RemoveFile(const char16_t* path) {
  sim::Lock lock = sim::Enter();
  int32_t result = std::remove(HostPath(path).c_str()) == 0 ? 0 : -1;
  sim::Trace("_wremove %s = %d", sim::Utf8(path).c_str(), result);
  return result;
}

uint32_t WorkingFolder(uint32_t size, char16_t* buffer) {
  sim::Lock lock = sim::Enter();
  sim::Trace("GetCurrentDirectoryW %u", size);
  return sim::GiveText(sim::Utf16(sim::S().world.current_dir), buffer, size);
}

bool SetWorkingFolder(const char16_t* path) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("SetCurrentDirectoryW");
  sim::Trace("SetCurrentDirectoryW %s%s", sim::Utf8(path).c_str(), fails ? " fails" : "");
  if (!fails) sim::S().world.current_dir = sim::Utf8(path);
  return !fails;
}

uint32_t ProgramPath(char16_t* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  const sim::World& w = sim::S().world;
  std::u16string path = sim::Utf16((w.program_dir.empty() ? w.current_dir : w.program_dir) + "\\" + w.image_name);
  sim::Trace("GetModuleFileNameW %u", size);
  if (path.size() + 1 <= size) return sim::GiveText(path, buffer, size);
  std::memcpy(buffer, path.c_str(), (size - 1) * sizeof(char16_t));  // cut short, as Windows does
  buffer[size - 1] = 0;
  return size;
}

uint32_t PathAttributes(const char16_t* path) {
  sim::Lock lock = sim::Enter();
  std::string host = HostPath(path);
  struct stat info;
  uint32_t attributes = kInvalidFileAttributes;
  if (stat(host.c_str(), &info) == 0) {
    attributes = S_ISDIR(info.st_mode) ? kFileAttributeDirectory : 0x80;  // FILE_ATTRIBUTE_NORMAL
    if (sim::S().world.reparse_points.count(host.substr(host.rfind("./", 0) == 0 ? 2 : 0)))
      attributes |= kFileAttributeReparsePoint;
  }
  sim::Trace("GetFileAttributesW %s = %X", sim::Utf8(path).c_str(), attributes);
  return attributes;
}

// Letter case ignored for the letters whose case the sim knows: A to Z.
bool SameName(const char16_t* a, const char16_t* b) {
  sim::Lock lock = sim::Enter();
  std::u16string x = a, y = b;
  for (std::u16string* s : {&x, &y})
    for (char16_t& c : *s)
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  sim::Trace("CompareStringOrdinal %s %s ignoring case = %s", sim::Utf8(a).c_str(), sim::Utf8(b).c_str(),
             x == y ? "equal" : "different");
  return x == y;
}

}  // namespace platform
