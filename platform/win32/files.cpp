#include "platform/files.h"

#include <io.h>

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

int32_t Access(const char* path, int32_t mode) { return ::_access(path, mode); }

int32_t RemoveFile(const char* path) { return std::remove(path); }

uint32_t GetCurrentDirectoryA(uint32_t size, char* buffer) { return ::GetCurrentDirectoryA(size, buffer); }

uint32_t GetModuleFileNameA(char* buffer, uint32_t size) { return ::GetModuleFileNameA(nullptr, buffer, size); }

uint32_t GetLongPathNameA(const char* path, char* buffer, uint32_t size) {
  return ::GetLongPathNameA(path, buffer, size);
}

uint32_t GetFileAttributesA(const char* path) { return ::GetFileAttributesA(path); }

}  // namespace platform
