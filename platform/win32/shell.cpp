#include "platform/shell.h"

#include "platform/win32/win32.h"

#include <shellapi.h>
#include <shlobj.h>

namespace platform {

intptr_t ShellExecuteA(Handle owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int32_t show) {
  return reinterpret_cast<intptr_t>(
      ::ShellExecuteA(AsWindow(owner), verb, file, parameters, directory, show));
}

uint32_t GetSystemDirectoryA(char* buffer, uint32_t size) { return ::GetSystemDirectoryA(buffer, size); }

int32_t SHGetSpecialFolderPathA(Handle owner, char* path, int32_t folder, int32_t create) {
  return ::SHGetSpecialFolderPathA(AsWindow(owner), path, folder, create);
}

int32_t SetEnvironmentVariableA(const char* name, const char* value) {
  return ::SetEnvironmentVariableA(name, value);
}

}  // namespace platform
