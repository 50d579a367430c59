// A DLL that must never be loaded: planted beside an elevated program under
// a system DLL's name, it leaves "<its path>.loaded" the moment it is.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t mark[MAX_PATH + 8];
  DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
  lstrcpyW(mark + length, L".loaded");
  HANDLE file = CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return TRUE;
}
