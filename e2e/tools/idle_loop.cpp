// An empty message-loop program with one worker thread, to weigh others against.
#include <windows.h>
#include <pthread.h>

static void* Idle(void*) {
  for (;;) Sleep(INFINITE);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  pthread_t thread;
  pthread_create(&thread, nullptr, Idle, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
