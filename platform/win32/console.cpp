#include "platform/console.h"

#include <cstdio>

#include "platform/text.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32.h"

namespace platform {

constexpr uint32_t kPieceBytes = 126;

// GBK's lead bytes: a piece of text never ends between a character's two bytes.
static bool LeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }

// A console shows characters, so the text goes as UTF-16, right on any
// Windows, piece by piece whatever its length; a file or a pipe gets the
// bytes, unchanged.
int32_t WriteOutput(const char* text) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (!::GetConsoleMode(out, &mode)) return std::fputs(text, stdout);
  while (*text) {
    uint32_t length = 0;
    while (text[length] && length < kPieceBytes) length += LeadByte(text[length]) && text[length + 1] ? 2 : 1;
    char piece[kPieceBytes + 2];
    CopyMemory(piece, text, length);
    piece[length] = 0;
    char16_t wide[kPieceBytes + 2];
    if (!WidenText(piece, wide, kPieceBytes + 2)) return -1;
    DWORD characters = 0, written = 0;
    while (wide[characters]) characters++;
    if (!::WriteConsoleW(out, wide, characters, &written, nullptr)) return -1;
    text += length;
  }
  return 1;
}

int32_t FlushOutput() { return std::fflush(stdout); }

int32_t RunPassingOutput(const char16_t* program, const char16_t* command_line) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, &inheritable, 0)) return -1;
  ScopedHandle reader(read_end);
  ::SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = write_end;
  char16_t line[MAX_PATH];  // CreateProcessW may write into it
  PROCESS_INFORMATION started = {};
  bool ok = CopyWide(reinterpret_cast<const wchar_t*>(command_line), line, MAX_PATH) &&
            ::CreateProcessW(reinterpret_cast<LPCWSTR>(program), reinterpret_cast<LPWSTR>(line), nullptr, nullptr,
                             TRUE, 0, nullptr, nullptr, &startup, &started);
  ::CloseHandle(write_end);  // the pipe ends when the program's copy of it does
  if (!ok) return -1;
  ScopedHandle process(started.hProcess), thread(started.hThread);
  char bytes[512];
  DWORD got = 0;
  while (::ReadFile(read_end, bytes, sizeof bytes, &got, nullptr) && got > 0) std::fwrite(bytes, 1, got, stdout);
  std::fflush(stdout);
  ::WaitForSingleObject(started.hProcess, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(started.hProcess, &code);
  return static_cast<int32_t>(code);
}

}  // namespace platform
