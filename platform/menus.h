// Popup menus. Item texts are the product's GBK texts (platform/text.h).
#pragma once
#include "platform/types.h"

namespace platform {

// The room an item's text has on Windows' side: wide characters, the terminator's too.
constexpr uint32_t kMenuTextRoom = 64;

Handle CreatePopupMenu();
// `item` is a command id, or a submenu's handle with MF_POPUP.
int32_t AppendMenuItem(Handle menu, uint32_t flags, uintptr_t item, const char* text);
int32_t InsertMenuItemAt(Handle menu, uint32_t position, uint32_t flags, uintptr_t item, const char* text);
// Returns when the menu closes; the chosen command comes as a posted WM_COMMAND.
int32_t TrackPopupMenu(Handle menu, uint32_t flags, int32_t x, int32_t y, Handle owner);
int32_t DestroyMenu(Handle menu);
int32_t SetForegroundWindow(Handle window);

}  // namespace platform
