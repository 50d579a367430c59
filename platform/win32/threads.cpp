#include "platform/threads.h"

#include <pthread.h>

#include <cstdlib>

#include "platform/win32/win32.h"

namespace platform {

void Sleep(uint32_t ms) { ::Sleep(ms); }

int32_t StartThread(ThreadProc proc) {
  pthread_t thread;
  int32_t result = pthread_create(&thread, nullptr, proc, nullptr);
  if (result == 0) pthread_detach(thread);
  return result;
}

void Exit(int32_t code) { std::exit(code); }

Handle GetModuleHandleA(const char* name) { return ::GetModuleHandleA(name); }

}  // namespace platform
