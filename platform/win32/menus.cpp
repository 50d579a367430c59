#include "platform/menus.h"

#include "platform/win32/win32.h"

namespace platform {

Handle CreatePopupMenu() { return ::CreatePopupMenu(); }

int32_t AppendMenuA(Handle menu, uint32_t flags, uintptr_t item, const char* text) {
  return ::AppendMenuA(static_cast<HMENU>(menu), flags, item, text);
}

int32_t InsertMenuA(Handle menu, uint32_t position, uint32_t flags, uintptr_t item, const char* text) {
  return ::InsertMenuA(static_cast<HMENU>(menu), position, flags, item, text);
}

int32_t TrackPopupMenu(Handle menu, uint32_t flags, int32_t x, int32_t y, Handle owner) {
  return ::TrackPopupMenu(static_cast<HMENU>(menu), flags, x, y, 0, AsWindow(owner), nullptr);
}

int32_t DestroyMenu(Handle menu) { return ::DestroyMenu(static_cast<HMENU>(menu)); }

int32_t SetForegroundWindow(Handle window) { return ::SetForegroundWindow(AsWindow(window)); }

}  // namespace platform
