// An empty message-loop program with one worker thread, to weigh others against.
// With the argument "cursor" the worker reads the cursor every 3 s, as a
// blanker's watcher does: the floor of what a blanker costs after its broadcast.
// With "daemon" it makes the idle daemon's own reads every 10 s: the cursor,
// the time of the last input, the console's session.
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

// Reads once at once, as the daemon does before its first tick: a thread's
// first call to the window system costs more than the rest together.
static void* ReadInput(void*) {
  POINT p;
  LASTINPUTINFO input = {sizeof input, 0};
  for (;; Sleep(10000)) {
    GetCursorPos(&p);
    GetLastInputInfo(&input);
    WTSGetActiveConsoleSessionId();
  }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR command_line, int) {
  pthread_t thread;
  void* (*worker)(void*) = Idle;
  if (std::strcmp(command_line, "cursor") == 0) worker = ReadCursor;
  if (std::strcmp(command_line, "daemon") == 0) worker = ReadInput;
  pthread_create(&thread, nullptr, worker, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
