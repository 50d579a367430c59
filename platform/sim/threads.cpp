#include "platform/threads.h"

#include <pthread.h>

#include "platform/sim/state.h"

namespace sim {
void SetSelf(Thread* thread);
}

namespace platform {

using sim::Lock;

void Sleep(uint32_t ms) {
  Lock lock = sim::Enter();
  sim::SleepFor(lock, ms, "Sleep");
}

namespace {
struct Start {
  sim::Thread* thread;
  ThreadProc proc;
};

void* Trampoline(void* arg) {
  Start start = *static_cast<Start*>(arg);
  delete static_cast<Start*>(arg);
  sim::StartOn(start.thread);
  start.proc(nullptr);
  Lock lock = sim::Enter();
  sim::Trace("thread returns");
  start.thread->wait = sim::Wait::Done;
  sim::SwitchAway(lock);
  return nullptr;
}
}  // namespace

int32_t StartThread(ThreadProc proc) {
  Lock lock = sim::Enter();
  sim::State& s = sim::S();
  if (sim::Failing("pthread_create") || (s.world.thread_room >= 0 && s.threads_started >= s.world.thread_room)) {
    sim::Trace("pthread_create fails");
    return 11;
  }
  s.threads_started++;
  sim::Thread* thread = sim::AddThread();
  sim::Trace("pthread_create t%d", thread->id);
  sim::MakeRunnable(thread);
  pthread_t real;
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
  pthread_create(&real, &attr, Trampoline, new Start{thread, proc});
  pthread_attr_destroy(&attr);
  return 0;
}

// The C runtime's exit takes time (atexit handlers, stream flushing), so
// threads due at the same moment still run; a second exit meanwhile is undefined.
void Exit(int32_t code) {
  Lock lock = sim::Enter();
  if (sim::S().exiting) {
    sim::Trace("exit %d again while exiting: undefined", code);
    sim::EndChild(sim::kStatusDoubleExit);
  }
  sim::S().exiting = true;
  sim::Trace("exit %d", code);
  sim::SleepFor(lock, 0, "exit");
  sim::EndChild(code & 0xff);
}

int32_t SetDefaultDllDirectories(uint32_t flags) {
  Lock lock = sim::Enter();
  sim::Trace("SetDefaultDllDirectories %08X", flags);
  return 1;
}

Handle GetModuleHandleA(const char* name) {
  return name ? nullptr : reinterpret_cast<Handle>(0x400000);
}

}  // namespace platform
