#include "platform/files.h"

#include <cstdio>

#include "platform/win32/win32.h"

namespace platform {

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t default_value,
                               const char* file) {
  return ::GetPrivateProfileIntA(section, key, default_value, file);
}

Handle OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

size_t WriteFile(Handle file, const void* data, size_t size) {
  return std::fwrite(data, 1, size, static_cast<FILE*>(file));
}

int32_t CloseFile(Handle file) { return std::fclose(static_cast<FILE*>(file)); }

}  // namespace platform
