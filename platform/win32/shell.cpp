#include "platform/shell.h"

#include "platform/win32/win32.h"

#include <shellapi.h>
#include <shlobj.h>

namespace platform {

static LPCWSTR Wide(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }

intptr_t ShellRun(Handle owner, const char16_t* verb, const char16_t* file,
                  const char16_t* parameters, const char16_t* directory, int32_t show) {
  return reinterpret_cast<intptr_t>(::ShellExecuteW(AsWindow(owner), Wide(verb), Wide(file),
                                                    Wide(parameters), Wide(directory), show));
}

int32_t SpecialFolderPath(Handle owner, char16_t* path, int32_t folder, int32_t create) {
  return ::SHGetSpecialFolderPathW(AsWindow(owner), reinterpret_cast<LPWSTR>(path), folder, create);
}

int32_t SetEnvironment(const char16_t* name, const char16_t* value) {
  return ::SetEnvironmentVariableW(Wide(name), Wide(value));
}

}  // namespace platform
