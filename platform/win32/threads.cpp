// Alone in its file, so a program that starts no thread links no thread library.
#include "platform/threads.h"

#include <pthread.h>

namespace platform {

int32_t StartThread(ThreadProc proc) {
  pthread_t thread;
  int32_t result = pthread_create(&thread, nullptr, proc, nullptr);
  if (result == 0) pthread_detach(thread);
  return result;
}

}  // namespace platform
