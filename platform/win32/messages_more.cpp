// The blankers' broadcast and the probe's wide loop, apart from the messages
// every program uses, so that the tray imports neither.
#include "platform/messages.h"
#include "platform/win32/win32.h"

namespace platform {

static MSG* AsMsg(Message* m) { return reinterpret_cast<MSG*>(m); }

int32_t GetMessageW(Message* m, Handle window, uint32_t first, uint32_t last) {
  return ::GetMessageW(AsMsg(m), AsWindow(window), first, last);
}

intptr_t DefWindowProcW(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return ::DefWindowProcW(AsWindow(window), message, wparam, lparam);
}

intptr_t SendMessageTimeoutA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                             uint32_t flags, uint32_t timeout_ms) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutA(AsWindow(window), message, wparam, lparam, flags, timeout_ms, &result);
}

}  // namespace platform
