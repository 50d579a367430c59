#include "platform/shell.h"

#include "platform/win32/win32.h"

#include <shellapi.h>

namespace platform {

intptr_t ShellExecuteA(Handle owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int32_t show) {
  return reinterpret_cast<intptr_t>(
      ::ShellExecuteA(AsWindow(owner), verb, file, parameters, directory, show));
}

}  // namespace platform

namespace platform {

uint32_t GetSystemDirectoryA(char* buffer, uint32_t size) { return ::GetSystemDirectoryA(buffer, size); }

}  // namespace platform
