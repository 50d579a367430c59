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

constexpr DWORD kPassBytes = 4096;

// Bytes in the console's code page as their characters. An unpaired lead byte
// at the end stays for the next read (moved to the front; its count returned)
// unless this is the last.
static DWORD ToConsole(HANDLE out, char* bytes, DWORD length, bool last) {
  const UINT page = ::GetConsoleOutputCP();
  DWORD whole = length;
  for (DWORD i = 0; i < length; ++i)
    if (::IsDBCSLeadByteEx(page, static_cast<BYTE>(bytes[i])) && ++i == length && !last) whole = length - 1;
  wchar_t wide[kPassBytes];
  DWORD written = 0;
  int characters = ::MultiByteToWideChar(page, 0, bytes, static_cast<int>(whole), wide, kPassBytes);
  if (characters > 0) ::WriteConsoleW(out, wide, static_cast<DWORD>(characters), &written, nullptr);
  if (whole < length) bytes[0] = bytes[whole];
  return length - whole;
}

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
  // What the C runtime holds goes first; then the bytes go around it, since
  // its text mode would turn each CR LF into CR CR LF.
  std::fflush(stdout);
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0, got = 0, held = 0, written = 0;
  const bool console = ::GetConsoleMode(out, &mode) != 0;
  char bytes[kPassBytes];
  int32_t passed = 0;
  while (::ReadFile(read_end, bytes + held, kPassBytes - held, &got, nullptr) && got > 0) {
    passed += static_cast<int32_t>(got);
    if (!console) ::WriteFile(out, bytes, got, &written, nullptr);
    else held = ToConsole(out, bytes, held + got, false);
  }
  if (console) ToConsole(out, bytes, held, true);
  ::WaitForSingleObject(started.hProcess, INFINITE);
  return passed;
}

}  // namespace platform
