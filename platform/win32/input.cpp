#include "platform/input.h"

#include "platform/win32/win32.h"

namespace platform {

int32_t BlockInput(int32_t block) { return ::BlockInput(block); }

int32_t GetLastInputInfo(uint32_t* tick) {
  LASTINPUTINFO info = {sizeof info, 0};
  BOOL ok = ::GetLastInputInfo(&info);
  if (ok) *tick = info.dwTime;
  return ok;
}

Handle SetWindowsHookExA(int32_t hook_type, HookProc proc, Handle module, uint32_t thread_id) {
  return ::SetWindowsHookExA(hook_type, reinterpret_cast<HOOKPROC>(proc),
                             static_cast<HINSTANCE>(module), thread_id);
}

int32_t UnhookWindowsHookEx(Handle hook) { return ::UnhookWindowsHookEx(static_cast<HHOOK>(hook)); }

int32_t RegisterHotKey(Handle window, int32_t id, uint32_t modifiers, uint32_t virtual_key) {
  return ::RegisterHotKey(AsWindow(window), id, modifiers, virtual_key);
}

int32_t UnregisterHotKey(Handle window, int32_t id) { return ::UnregisterHotKey(AsWindow(window), id); }

}  // namespace platform
