#include "platform/files.h"

#include <io.h>

#include <cstdio>

#include "platform/win32/win32.h"

namespace platform {

static LPCWSTR Wide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
static LPWSTR Wide(char16_t* text) { return reinterpret_cast<LPWSTR>(text); }

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t default_value,
                               const char* file) {
  return ::GetPrivateProfileIntA(section, key, default_value, file);
}

Handle OpenFile(const char* path, const char* mode) { return std::fopen(path, mode); }

size_t WriteFile(Handle file, const void* data, size_t size) {
  return std::fwrite(data, 1, size, static_cast<FILE*>(file));
}

int32_t CloseFile(Handle file) { return std::fclose(static_cast<FILE*>(file)); }

// Widened, so that one call serves both.
int32_t Access(const char* name, int32_t mode) {
  wchar_t wide[MAX_PATH];
  uint32_t length = 0;
  while (name[length] && length + 1 < MAX_PATH) wide[length] = static_cast<unsigned char>(name[length]), length++;
  wide[length] = 0;
  return name[length] ? -1 : ::_waccess(wide, mode);
}

int32_t Access(const char16_t* path, int32_t mode) { return ::_waccess(Wide(path), mode); }

int32_t RemoveFile(const char16_t* path) { return ::_wremove(Wide(path)); }

uint32_t WorkingFolder(uint32_t size, char16_t* buffer) { return ::GetCurrentDirectoryW(size, Wide(buffer)); }
bool SetWorkingFolder(const char16_t* path) { return ::SetCurrentDirectoryW(Wide(path)) != 0; }

uint32_t ProgramPath(char16_t* buffer, uint32_t size) { return ::GetModuleFileNameW(nullptr, Wide(buffer), size); }

uint32_t PathAttributes(const char16_t* path) { return ::GetFileAttributesW(Wide(path)); }

bool SameName(const char16_t* a, const char16_t* b) {
  return ::CompareStringOrdinal(Wide(a), -1, Wide(b), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace platform
