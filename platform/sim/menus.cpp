#include "platform/menus.h"

#include <string>

#include "platform/sim/state.h"

namespace sim {

constexpr uint32_t kPopup = 0x0010, kByPosition = 0x0400, kSeparator = 0x0800;
constexpr uint32_t kCommand = 0x0111;

// "text=id", "----", "text>[...]"; flags beyond those shapes follow as "/hex".
static std::string Layout(platform::Handle menu) {
  std::string out;
  for (const MenuItem& item : S().menus[menu]) {
    if (!out.empty()) out += " ";
    if (item.flags & kSeparator)
      out += "----";
    else if (item.flags & kPopup)
      out += item.text + ">[" + Layout(reinterpret_cast<platform::Handle>(item.item)) + "]";
    else
      out += item.text + "=" + std::to_string(item.item);
    if (uint32_t odd = item.flags & ~(kPopup | kByPosition | kSeparator)) out += "/" + std::to_string(odd);
  }
  return out;
}

static void Destroy(platform::Handle menu) {
  auto found = S().menus.find(menu);
  if (found == S().menus.end()) return;
  std::vector<MenuItem> items = found->second;
  S().menus.erase(found);
  for (const MenuItem& item : items)
    if (item.flags & kPopup) Destroy(reinterpret_cast<platform::Handle>(item.item));
}

static int32_t Add(platform::Handle menu, size_t position, uint32_t flags, uintptr_t item,
                   const char* text, const char* call) {
  auto found = S().menus.find(menu);
  if (position == static_cast<size_t>(-1))
    Trace("%s %p %X %s", call, menu, flags, text ? text : "");
  else
    Trace("%s %p at %zu %X %s", call, menu, position, flags, text ? text : "");
  if (found == S().menus.end()) return 0;
  std::vector<MenuItem>& items = found->second;
  if (position > items.size()) position = items.size();
  items.insert(items.begin() + static_cast<long>(position), {flags, item, text ? text : ""});
  return 1;
}

}  // namespace sim

namespace platform {

Handle CreatePopupMenu() {
  sim::Lock lock = sim::Enter();
  Handle menu = sim::NewHandle();
  sim::S().menus[menu] = {};
  sim::Trace("CreatePopupMenu %p", menu);
  return menu;
}

int32_t AppendMenuItem(Handle menu, uint32_t flags, uintptr_t item, const char* text) {
  sim::Lock lock = sim::Enter();
  return sim::Add(menu, static_cast<size_t>(-1), flags, item, text, "AppendMenuW");
}

int32_t InsertMenuItemAt(Handle menu, uint32_t position, uint32_t flags, uintptr_t item, const char* text) {
  sim::Lock lock = sim::Enter();
  // By command is not modelled: the programs insert by position.
  return sim::Add(menu, (flags & sim::kByPosition) ? position : static_cast<size_t>(-1), flags, item,
                  text, "InsertMenuW");
}

int32_t TrackPopupMenu(Handle menu, uint32_t flags, int32_t x, int32_t y, Handle owner) {
  sim::Lock lock = sim::Enter();
  sim::State& s = sim::S();
  sim::Trace("TrackPopupMenu flags %X at %d,%d owner \"%s\": %s", flags, x, y,
             sim::WindowName(owner).c_str(), sim::Layout(menu).c_str());
  uint32_t choice = s.next_menu_choice < s.world.menu_choices.size()
                        ? s.world.menu_choices[s.next_menu_choice++] : 0;
  sim::SimWindow* w = sim::FindWindow(owner);
  if (choice && w) {
    sim::Queue(w->owner, {owner, sim::kCommand, choice, 0, 0, {0, 0}});
    sim::Trace("menu closes: %u chosen", choice);
  } else {
    sim::Trace("menu closes: nothing chosen");
  }
  return 1;
}

int32_t DestroyMenu(Handle menu) {
  sim::Lock lock = sim::Enter();
  bool known = sim::S().menus.count(menu) != 0;
  sim::Destroy(menu);
  sim::Trace("DestroyMenu %p: %zu menus left", menu, sim::S().menus.size());
  return known;
}

int32_t SetForegroundWindow(Handle window) {
  sim::Lock lock = sim::Enter();
  sim::Trace("SetForegroundWindow \"%s\"", sim::WindowName(window).c_str());
  return 1;
}

}  // namespace platform
