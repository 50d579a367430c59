#include "platform/window.h"

#include <cstdio>
#include <string>

#include "platform/power.h"
#include "platform/sim/state.h"

namespace platform {

static std::string Narrow(const char16_t* text) {
  std::string out;
  for (; text && *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
  return out;
}

static uint16_t Register(const WindowClassFields& f, const std::string& name, const char* call) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  if (sim::Failing(call) || s.classes.count(name)) {
    sim::Trace("%s \"%s\" fails", call, name.c_str());
    return 0;
  }
  s.classes[name] = f;
  sim::Trace("%s \"%s\" style %u extra %d,%d instance %p icon %u cursor %u brush %lu menu %s", call,
             name.c_str(), f.style, f.class_extra, f.window_extra, f.instance, f.icon_id,
             f.cursor_id, static_cast<unsigned long>(f.background),
             f.menu_name ? f.menu_name : "none");
  return static_cast<uint16_t>(0xC000 + s.classes.size());
}

uint16_t RegisterClassA(const WindowClassFields& f) {
  return Register(f, f.class_name ? f.class_name : "", "RegisterClassA");
}

uint16_t RegisterClassW(const WindowClassFields& f) {
  return Register(f, Narrow(f.wide_class_name), "RegisterClassW");
}

static std::string Resource(Handle h) {
  auto found = sim::S().resources.find(h);
  return found == sim::S().resources.end() ? "none" : found->second;
}

uint16_t RegisterClassExA(const WindowClassFields& f) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  std::string name = f.class_name ? f.class_name : "";
  if (sim::Failing("RegisterClassExA") || s.classes.count(name)) {
    sim::Trace("RegisterClassExA \"%s\" fails", name.c_str());
    return 0;
  }
  s.classes[name] = f;
  sim::Trace("RegisterClassExA \"%s\" style %u extra %d,%d instance %p icon %s small %s cursor %s "
             "brush %lu menu %s", name.c_str(), f.style, f.class_extra, f.window_extra, f.instance,
             Resource(f.icon).c_str(), Resource(f.small_icon).c_str(), Resource(f.cursor).c_str(),
             static_cast<unsigned long>(f.background), f.menu_name ? f.menu_name : "none");
  return static_cast<uint16_t>(0xC000 + s.classes.size());
}

static Handle Create(const WindowFields& f, const std::string& cls, const std::string& title,
                     const char* call) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  auto found = s.classes.find(cls);
  if (sim::Failing(call) || found == s.classes.end()) {
    sim::Trace("%s \"%s\" fails", call, cls.c_str());
    return nullptr;
  }
  Handle handle = sim::NewHandle();
  s.windows.push_back({handle, cls, title, found->second.proc, sim::Self(), f.width, f.height, false});
  sim::Trace("%s ex %u \"%s\" \"%s\" style %08X at %d,%d size %dx%d parent %p menu %p instance %p",
             call, f.ex_style, cls.c_str(), title.c_str(), f.style, f.x, f.y, f.width, f.height,
             f.parent, f.menu, f.instance);
  return handle;
}

Handle CreateWindowExA(const WindowFields& f) {
  return Create(f, f.class_name ? f.class_name : "", f.title ? f.title : "", "CreateWindowExA");
}

Handle CreateWindowExW(const WindowFields& f) {
  return Create(f, Narrow(f.wide_class_name), Narrow(f.wide_title), "CreateWindowExW");
}

int32_t ShowWindow(Handle window, int32_t command) {
  sim::Lock lock = sim::Enter();
  sim::Trace("ShowWindow \"%s\" %d", sim::WindowName(window).c_str(), command);
  return 0;
}

int32_t ChangeWindowMessageFilterEx(Handle window, uint32_t message, uint32_t action) {
  sim::Lock lock = sim::Enter();
  sim::Trace("ChangeWindowMessageFilterEx \"%s\" %04X %u", sim::WindowName(window).c_str(), message,
             action);
  return 1;
}

int32_t CloseWindow(Handle window) {
  sim::Lock lock = sim::Enter();
  sim::Trace("CloseWindow %p", window);
  return sim::FindWindow(window) != nullptr;
}

Handle RegisterPowerSettingNotification(Handle recipient, const Guid& g, uint32_t flags) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  sim::SimWindow* window = sim::FindWindow(recipient);
  bool fails = sim::Failing("RegisterPowerSettingNotification") || !window;
  sim::Trace("RegisterPowerSettingNotification \"%s\" %s %u%s", window ? window->title.c_str() : "",
             sim::GuidText(g).c_str(), flags, fails ? " fails" : "");
  if (fails) return nullptr;
  s.power_registrations.push_back(recipient);
  s.power_settings[recipient] = g;
  return sim::NewHandle();
}

int32_t UnregisterPowerSettingNotification(Handle registration) {
  sim::Lock lock = sim::Enter();
  sim::Trace("UnregisterPowerSettingNotification %p", registration);
  return registration != nullptr;
}

}  // namespace platform

namespace sim {

SimWindow* FindWindow(platform::Handle handle) {
  for (SimWindow& w : S().windows)
    if (w.handle == handle && !w.destroyed) return &w;
  return nullptr;
}

std::string WindowName(platform::Handle handle) {
  if (SimWindow* w = FindWindow(handle)) return w->title;
  char text[32];
  snprintf(text, sizeof text, "%p", handle);
  return text;
}

}  // namespace sim
