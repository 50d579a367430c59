// Messages reach a thread only while it waits in GetMessage: sent messages
// (power notifications) and low-level key events are handed to their
// procedures there, posted messages are returned.
#include "platform/messages.h"

#include <fstream>

#include "platform/sim/state.h"

namespace sim {

constexpr uint32_t kQuit = 0x0012;
constexpr uint32_t kPowerBroadcast = 0x0218;
constexpr uint32_t kPowerSettingChange = 0x8013;
constexpr uint32_t kKeyDown = 0x0100;
constexpr uint32_t kKeyUp = 0x0101;
constexpr int64_t kHookTimeoutMs = 300;  // LowLevelHooksTimeout's default

void Queue(Thread* thread, const platform::Message& message) {
  thread->posted.push_back(message);
  if (thread->wait == Wait::Message) MakeRunnable(thread);
}

static void Hand(Thread* thread, const Delivery& delivery) {
  thread->sent.push_back(delivery);
  if (thread->wait == Wait::Message) MakeRunnable(thread);
}

void Fire(const Event& event) {
  State& s = S();
  switch (event.kind) {
    case EventKind::DisplayState:
      if (s.power_registrations.empty()) Trace("display state %u, no window registered", event.value);
      for (platform::Handle h : s.power_registrations)
        if (SimWindow* w = FindWindow(h)) Hand(w->owner, {false, h, event.value});
      break;
    case EventKind::Key:
      if (!s.hook) {
        Trace("key %02X reaches the desktop", event.value);
        break;
      }
      Hand(s.hook_owner, {true, nullptr, event.value | (kKeyDown << 16)});
      Hand(s.hook_owner, {true, nullptr, event.value | (kKeyUp << 16)});
      break;
    case EventKind::Post: {
      Thread* target = s.threads.front().get();
      platform::Handle window = nullptr;
      for (SimWindow& w : s.windows)
        if (!event.window.empty() && w.title == event.window && !w.destroyed)
          target = w.owner, window = w.handle;
      Trace("post %04X %lX %lX to t%d", event.value, static_cast<unsigned long>(event.wparam),
            static_cast<unsigned long>(event.lparam), target->id);
      Queue(target, {window, event.value, event.wparam, event.lparam, 0, {0, 0}});
      break;
    }
    case EventKind::File: {
      std::ofstream out(HostPath(event.window.c_str()), std::ios::binary);
      out << event.contents;
      Trace("%s rewritten from outside", event.window.c_str());
      break;
    }
  }
}

static void DeliverPower(Lock& lock, const Delivery& d) {
  SimWindow* w = FindWindow(d.window);
  if (!w || !w->proc) return;
  platform::PowerSetting setting = {};
  setting.setting = S().power_settings[d.window];  // the setting it registered for
  setting.data_length = 4;
  setting.data[0] = static_cast<uint8_t>(d.value);
  Trace("WM_POWERBROADCAST PBT_POWERSETTINGCHANGE %u to \"%s\"", d.value, w->title.c_str());
  platform::WindowProc proc = w->proc;
  platform::Handle handle = w->handle;
  lock.unlock();
  proc(handle, kPowerBroadcast, kPowerSettingChange, reinterpret_cast<intptr_t>(&setting));
  lock.lock();
}

static void DeliverKey(Lock& lock, const Delivery& d) {
  State& s = S();
  uint32_t vk = d.value & 0xFFFF;
  uint32_t message = d.value >> 16;
  const char* how = message == kKeyDown ? "down" : "up";
  if (!s.hook_proc) {
    Trace("key %02X %s reaches the desktop", vk, how);
    return;
  }
  uint32_t record[5] = {vk, 0, 0, 0, 0};  // KBDLLHOOKSTRUCT: vkCode first
  platform::HookProc proc = s.hook_proc;
  int64_t started = s.now;
  lock.unlock();
  intptr_t result = proc(0, message, reinterpret_cast<intptr_t>(record));
  lock.lock();
  if (s.now - started > kHookTimeoutMs) {
    Trace("key %02X %s: hook ran %lld ms, key passes and the hook is removed", vk, how,
          static_cast<long long>(s.now - started));
    s.hook = nullptr;
    s.hook_proc = nullptr;
    return;
  }
  Trace("key %02X %s %s", vk, how, result ? "swallowed" : "passes");
}

}  // namespace sim

namespace platform {

using sim::Lock;

static int32_t Retrieve(Message* message, const char* call) {
  Lock lock = sim::Enter();
  sim::Thread* self = sim::Self();
  for (;;) {
    if (!self->sent.empty()) {
      sim::Delivery d = self->sent.front();
      self->sent.pop_front();
      if (d.is_key)
        sim::DeliverKey(lock, d);
      else
        sim::DeliverPower(lock, d);
      continue;
    }
    if (!self->posted.empty()) {
      *message = self->posted.front();
      self->posted.pop_front();
      sim::Trace("%s %04X", call, message->id);
      return message->id == sim::kQuit ? 0 : 1;
    }
    self->wait = sim::Wait::Message;
    self->what = call;
    sim::SwitchAway(lock);
  }
}

int32_t GetMessageA(Message* m, Handle, uint32_t, uint32_t) { return Retrieve(m, "GetMessageA"); }

int32_t GetMessageW(Message* m, Handle, uint32_t, uint32_t) { return Retrieve(m, "GetMessageW"); }

int32_t TranslateMessage(const Message*) { return 0; }

intptr_t DispatchMessageA(const Message* m) {
  Lock lock = sim::Enter();
  sim::SimWindow* w = sim::FindWindow(m->window);
  if (!w || !w->proc) return 0;
  WindowProc proc = w->proc;
  lock.unlock();
  return proc(m->window, m->id, m->wparam, m->lparam);
}

// A recognisable result, so a test can tell the default procedure's answer.
// A close request destroys the window, as the real default handling does.
intptr_t DefWindowProcA(Handle window, uint32_t message, uintptr_t, intptr_t) {
  constexpr uint32_t kClose = 0x0010, kDestroy = 0x0002;
  if (message == kClose) {
    Lock lock = sim::Enter();
    sim::SimWindow* w = sim::FindWindow(window);
    if (!w) return 0;
    sim::Trace("DestroyWindow \"%s\"", w->title.c_str());
    WindowProc proc = w->proc;
    lock.unlock();
    proc(window, kDestroy, 0, 0);
    lock.lock();
    if ((w = sim::FindWindow(window))) w->destroyed = true;
    return 0;
  }
  return 0xDEF00000 | message;
}

intptr_t DefWindowProcW(Handle, uint32_t message, uintptr_t, intptr_t) {
  return 0xDEF10000 | message;
}

intptr_t SendMessageTimeoutA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                             uint32_t flags, uint32_t timeout_ms) {
  Lock lock = sim::Enter();
  if (reinterpret_cast<uintptr_t>(window) == 0xFFFF && message == 0x0112 && wparam == 0xF170)
    sim::Trace("SendMessageTimeoutA HWND_BROADCAST WM_SYSCOMMAND SC_MONITORPOWER %ld flags %04X timeout %u",
               static_cast<long>(lparam), flags, timeout_ms);
  else
    sim::Trace("SendMessageTimeoutA %p %04X %lu %ld flags %04X timeout %u", window, message,
               static_cast<unsigned long>(wparam), static_cast<long>(lparam), flags, timeout_ms);
  return 1;
}

int32_t PostMessageA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  Lock lock = sim::Enter();
  sim::SimWindow* w = sim::FindWindow(window);
  sim::Trace("PostMessageA \"%s\" %04X %lu %ld%s", sim::WindowName(window).c_str(), message,
             static_cast<unsigned long>(wparam), static_cast<long>(lparam), w ? "" : " fails");
  if (!w) return 0;
  sim::Queue(w->owner, {window, message, wparam, lparam, 0, {0, 0}});
  return 1;
}

void PostQuitMessage(int32_t code) {
  Lock lock = sim::Enter();
  sim::Trace("PostQuitMessage %d", code);
  sim::Queue(sim::Self(), {nullptr, sim::kQuit, static_cast<uintptr_t>(code), 0, 0, {0, 0}});
}

// Deterministic ids; a registration made before a run (static initialisation
// in the test binary) holds in every run.
uint32_t RegisterWindowMessageA(const char* name) {
  Lock lock = sim::Enter();
  auto& names = sim::S().registered_messages;
  if (!names.count(name)) names[name] = 0xC100 + static_cast<uint32_t>(names.size());
  sim::Trace("RegisterWindowMessageA \"%s\" = %04X", name, names[name]);
  return names[name];
}

Handle BeginPaint(Handle window, PaintRecord*) {
  Lock lock = sim::Enter();
  sim::Trace("BeginPaint \"%s\"", sim::WindowName(window).c_str());
  return reinterpret_cast<Handle>(0xDC);
}

int32_t EndPaint(Handle window, const PaintRecord*) {
  Lock lock = sim::Enter();
  sim::Trace("EndPaint \"%s\"", sim::WindowName(window).c_str());
  return 1;
}

}  // namespace platform
