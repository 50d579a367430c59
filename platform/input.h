// Keyboard and mouse: input blocking, the cursor, the low-level keyboard hook,
// hotkeys.
#pragma once
#include "platform/types.h"

namespace platform {

int32_t BlockInput(int32_t block);
int32_t GetCursorPos(Point* point);
// The tick count of the session's last keyboard or mouse input.
int32_t GetLastInputInfo(uint32_t* tick);
Handle SetWindowsHookExA(int32_t hook_type, HookProc proc, Handle module, uint32_t thread_id);
int32_t UnhookWindowsHookEx(Handle hook);
// A key combination for the whole session, coming to `window` as WM_HOTKEY
// with `id`; 0 when another program holds it.
int32_t RegisterHotKey(Handle window, int32_t id, uint32_t modifiers, uint32_t virtual_key);
int32_t UnregisterHotKey(Handle window, int32_t id);

}  // namespace platform
