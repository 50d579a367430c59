// One baton, virtual time. A thread runs only while it holds the baton; time
// moves only when no thread can run, to the earliest (deadline, sequence).
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/sim/state.h"

namespace sim {

static State* g_state = nullptr;
static thread_local Thread* t_self = nullptr;

State& S() {
  if (!g_state) g_state = new State();
  return *g_state;
}

Thread* Self() { return t_self; }

void SetSelf(Thread* thread) { t_self = thread; }

Lock Enter() { return Lock(S().mutex); }

bool Failing(const char* call) { return S().world.failures.count(call) != 0; }

platform::Handle NewHandle() { return reinterpret_cast<platform::Handle>(S().next_handle += 4); }

static void WriteLine(const std::string& text) {
  std::string line = std::to_string(S().now) + " t" + std::to_string(t_self ? t_self->id : 0) +
                     " " + text + "\n";
  const char* p = line.data();
  size_t left = line.size();
  while (left > 0) {
    ssize_t n = write(S().trace_fd, p, left);
    if (n <= 0) return;
    p += n;
    left -= static_cast<size_t>(n);
  }
}

static std::string Format(const char* format, va_list args) {
  char buffer[1024];
  vsnprintf(buffer, sizeof buffer, format, args);
  return buffer;
}

void Trace(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLine(Format(format, args));
  va_end(args);
}

void Note(const char* format, ...) {
  Lock lock = Enter();
  va_list args;
  va_start(args, format);
  WriteLine("note " + Format(format, args));
  va_end(args);
}

void EndChild(int status) { _exit(status); }

static const char* WaitName(Wait wait) {
  switch (wait) {
    case Wait::Running: return "running";
    case Wait::Runnable: return "runnable";
    case Wait::Sleep: return "sleeping";
    case Wait::Message: return "waiting for messages";
    case Wait::Forever: return "waiting forever";
    case Wait::Done: return "done";
  }
  return "?";
}

[[noreturn]] static void Deadlock() {
  std::string waits;
  for (auto& t : S().threads) {
    if (t->wait == Wait::Done) continue;
    waits += " t" + std::to_string(t->id) + ":" + WaitName(t->wait) + "(" + t->what + ")";
  }
  Trace("deadlock:%s", waits.c_str());
  EndChild(kStatusDeadlock);
}

void MakeRunnable(Thread* thread) {
  thread->wait = Wait::Runnable;
  S().runnable.push_back(thread);
}

static Thread* PickNext() {
  State& s = S();
  for (;;) {
    if (!s.runnable.empty()) {
      Thread* next = s.runnable.front();
      s.runnable.pop_front();
      return next;
    }
    Thread* sleeper = nullptr;
    for (auto& t : s.threads) {
      if (t->wait != Wait::Sleep) continue;
      if (!sleeper || t->deadline < sleeper->deadline ||
          (t->deadline == sleeper->deadline && t->seq < sleeper->seq))
        sleeper = t.get();
    }
    const Event* event = s.next_event < s.world.events.size() ? &s.world.events[s.next_event] : nullptr;
    // Scripted events were sequenced before any thread slept, so they win ties.
    bool take_event = event && (!sleeper || event->at <= sleeper->deadline);
    if (!take_event && !sleeper) Deadlock();
    int64_t at = take_event ? event->at : sleeper->deadline;
    if (at > s.until) {
      s.now = s.until;
      Trace("end of run");
      EndChild(kStatusTimeUp);
    }
    if (at > s.now) s.now = at;
    if (take_event) {
      s.next_event++;
      Fire(*event);
    } else {
      MakeRunnable(sleeper);
    }
  }
}

void SwitchAway(Lock& lock) {
  State& s = S();
  Thread* self = t_self;
  Thread* next = PickNext();
  next->wait = Wait::Running;
  if (next == self) return;
  s.current = next;
  next->cv.notify_one();
  if (self->wait == Wait::Done) return;
  self->cv.wait(lock, [&] { return s.current == self; });
}

void SleepFor(Lock& lock, int64_t ms, const char* what) {
  Thread* self = t_self;
  self->wait = Wait::Sleep;
  self->deadline = S().now + ms;
  self->seq = ++S().seq;
  self->what = what;
  SwitchAway(lock);
}

Thread* AddThread() {
  State& s = S();
  s.threads.push_back(std::make_unique<Thread>());
  Thread* thread = s.threads.back().get();
  thread->id = static_cast<int>(s.threads.size());
  return thread;
}

void StartOn(Thread* thread) {
  Lock lock = Enter();
  thread->cv.wait(lock, [&] { return S().current == thread; });
  t_self = thread;
}

}  // namespace sim
