#include "platform/input.h"

#include "platform/sim/state.h"

namespace platform {

int32_t BlockInput(int32_t block) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("BlockInput");
  sim::Trace("BlockInput %d%s", block, fails ? " fails" : "");
  return fails ? 0 : 1;
}

int32_t GetCursorPos(Point* point) {
  sim::Lock lock = sim::Enter();
  if (sim::Failing("GetCursorPos")) {
    sim::Trace("GetCursorPos fails");
    return 0;
  }
  Point p = {0, 0};
  for (const sim::TimedPoint& at : sim::S().world.cursor)
    if (at.at <= sim::S().now) p = {at.x, at.y};
  *point = p;
  sim::Trace("GetCursorPos %d,%d", p.x, p.y);
  return 1;
}

int32_t GetLastInputInfo(uint32_t* tick) {
  sim::Lock lock = sim::Enter();
  int64_t last = 0;
  for (int64_t at : sim::S().world.input)
    if (at <= sim::S().now) last = at;
  *tick = static_cast<uint32_t>(last);
  sim::Trace("GetLastInputInfo %u", *tick);
  return 1;
}

Handle SetWindowsHookExA(int32_t hook_type, HookProc proc, Handle module, uint32_t thread_id) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  if (sim::Failing("SetWindowsHookExA") || !proc) {
    sim::Trace("SetWindowsHookExA %d fails", hook_type);
    return nullptr;
  }
  s.hook = sim::NewHandle();
  s.hook_proc = proc;
  s.hook_owner = sim::Self();
  sim::Trace("SetWindowsHookExA %d module %p thread %u", hook_type, module, thread_id);
  return s.hook;
}

int32_t UnhookWindowsHookEx(Handle hook) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  bool ok = hook && hook == s.hook;
  sim::Trace("UnhookWindowsHookEx%s", ok ? "" : " fails");
  if (ok) {
    s.hook = nullptr;
    s.hook_proc = nullptr;
    s.hook_owner = nullptr;
  }
  return ok;
}

int32_t RegisterHotKey(Handle window, int32_t id, uint32_t modifiers, uint32_t virtual_key) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("RegisterHotKey");
  sim::Trace("RegisterHotKey \"%s\" %d mods %X vk %X%s", sim::WindowName(window).c_str(), id, modifiers, virtual_key,
             fails ? " fails" : "");
  return fails ? 0 : 1;
}

int32_t UnregisterHotKey(Handle window, int32_t id) {
  sim::Lock lock = sim::Enter();
  sim::Trace("UnregisterHotKey \"%s\" %d", sim::WindowName(window).c_str(), id);
  return 1;
}

}  // namespace platform
