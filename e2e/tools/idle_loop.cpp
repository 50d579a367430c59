// An empty message-loop program with one worker thread, to weigh others against.
// With the argument "cursor" the worker reads the cursor every 3 s, as a
// blanker's watcher does: the floor of what a blanker costs after its broadcast.
#include <windows.h>
#include <pthread.h>

#include <cstring>

static void* Idle(void*) {
  for (;;) Sleep(INFINITE);
}

static void* ReadCursor(void*) {
  for (POINT p;;) {
    Sleep(3000);
    GetCursorPos(&p);
  }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  pthread_t thread;
  pthread_create(&thread, nullptr, std::strcmp(command_line, "cursor") == 0 ? ReadCursor : Idle, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
