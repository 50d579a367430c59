#include "platform/console.h"

#include <cstdio>
#include <cstdlib>

#include "platform/text.h"
#include "platform/win32/win32.h"

namespace platform {

// Longer than any line the probe writes.
constexpr uint32_t kLineLength = 128;

// A console shows characters, so the text goes as UTF-16, right on any
// Windows; a file or a pipe gets the bytes, unchanged.
int32_t WriteOutput(const char* text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, written = 0;
  char16_t wide[kLineLength];
  if (::GetConsoleMode(out, &mode) && WidenText(text, wide, kLineLength)) {
    const wchar_t* line = reinterpret_cast<const wchar_t*>(wide);
    return ::WriteConsoleW(out, line, ::lstrlenW(line), &written, nullptr) ? 1 : -1;
  }
  return std::fputs(text, stdout);
}

int32_t FlushOutput() { return std::fflush(stdout); }

int32_t RunSystem(const char* command) { return std::system(command); }

}  // namespace platform
