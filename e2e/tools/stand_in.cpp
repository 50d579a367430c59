// A stand-in for another program of the suite: it leaves "<image>.started"
// holding its working directory (UTF-8), then waits for messages until it is
// ended. Wide throughout: its name may be in any language.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  wchar_t image[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, image, MAX_PATH);
  const wchar_t* name = wcsrchr(image, L'\\') ? wcsrchr(image, L'\\') + 1 : image;
  wchar_t marker[MAX_PATH + 16];
  _snwprintf(marker, MAX_PATH + 16, L"%ls.started", name);
  wchar_t cwd[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, cwd);
  char utf8[MAX_PATH * 3] = {};
  WideCharToMultiByte(CP_UTF8, 0, cwd, -1, utf8, sizeof utf8, nullptr, nullptr);
  if (FILE* f = _wfopen(marker, L"wb")) {
    fputs(utf8, f);
    fclose(f);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
