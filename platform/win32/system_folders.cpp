// The system folders, apart from the shell's calls: the installer's custom
// action uses them and imports nothing of the shell.
#include "platform/shell.h"
#include "platform/win32/win32.h"

namespace platform {

uint32_t SystemFolder(char16_t* buffer, uint32_t size) {
  return ::GetSystemDirectoryW(reinterpret_cast<LPWSTR>(buffer), size);
}

uint32_t WindowsFolder(char16_t* buffer, uint32_t size) {
  return ::GetSystemWindowsDirectoryW(reinterpret_cast<LPWSTR>(buffer), size);
}

uint32_t NativeSystemFolder(char16_t* buffer, uint32_t size) {
  BOOL wow64 = FALSE;
  if (!::IsWow64Process(::GetCurrentProcess(), &wow64) || !wow64) return SystemFolder(buffer, size);
  static const wchar_t kSysnative[] = L"\\Sysnative";
  constexpr uint32_t kExtra = sizeof kSysnative / sizeof kSysnative[0] - 1;
  uint32_t length = ::GetSystemWindowsDirectoryW(reinterpret_cast<LPWSTR>(buffer), size);
  if (length == 0 || length >= size || !CopyWide(kSysnative, buffer + length, size - length)) return 0;
  return length + kExtra;
}

}  // namespace platform
