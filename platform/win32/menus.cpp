#include "platform/menus.h"

#include "platform/text.h"
#include "platform/win32/win32.h"

namespace platform {

// The item's text widened into `wide`; a separator's null stays null.
static LPCWSTR Widened(const char* text, char16_t (&wide)[kMenuTextRoom]) {
  if (!text) return nullptr;
  WidenText(text, wide, kMenuTextRoom);
  return reinterpret_cast<LPCWSTR>(wide);
}

Handle CreatePopupMenu() { return ::CreatePopupMenu(); }

int32_t AppendMenuItem(Handle menu, uint32_t flags, uintptr_t item, const char* text) {
  char16_t wide[kMenuTextRoom];
  return ::AppendMenuW(static_cast<HMENU>(menu), flags, item, Widened(text, wide));
}

int32_t InsertMenuItemAt(Handle menu, uint32_t position, uint32_t flags, uintptr_t item, const char* text) {
  char16_t wide[kMenuTextRoom];
  return ::InsertMenuW(static_cast<HMENU>(menu), position, flags, item, Widened(text, wide));
}

int32_t TrackPopupMenu(Handle menu, uint32_t flags, int32_t x, int32_t y, Handle owner) {
  return ::TrackPopupMenu(static_cast<HMENU>(menu), flags, x, y, 0, AsWindow(owner), nullptr);
}

int32_t DestroyMenu(Handle menu) { return ::DestroyMenu(static_cast<HMENU>(menu)); }

int32_t SetForegroundWindow(Handle window) { return ::SetForegroundWindow(AsWindow(window)); }

}  // namespace platform
