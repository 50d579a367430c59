// A stand-in for another program of the suite: it leaves "<image>.started"
// holding its working directory, then waits for messages until it is ended.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char image[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, image, sizeof image);
  const char* name = strrchr(image, '\\') ? strrchr(image, '\\') + 1 : image;
  char marker[MAX_PATH + 16];
  snprintf(marker, sizeof marker, "%s.started", name);
  char cwd[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof cwd, cwd);
  if (FILE* f = fopen(marker, "wb")) {
    fputs(cwd, f);
    fclose(f);
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
