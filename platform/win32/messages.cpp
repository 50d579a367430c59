#include "platform/messages.h"

#include <cstddef>

#include "platform/win32/win32.h"

namespace platform {

static_assert(sizeof(Message) == sizeof(MSG), "Message mirrors MSG");
static_assert(offsetof(Message, pt) == offsetof(MSG, pt), "Message mirrors MSG");

static MSG* AsMsg(Message* m) { return reinterpret_cast<MSG*>(m); }
static const MSG* AsMsg(const Message* m) { return reinterpret_cast<const MSG*>(m); }

int32_t GetMessageA(Message* m, Handle window, uint32_t first, uint32_t last) {
  return ::GetMessageA(AsMsg(m), AsWindow(window), first, last);
}

int32_t TranslateMessage(const Message* m) { return ::TranslateMessage(AsMsg(m)); }

intptr_t DispatchMessageA(const Message* m) { return ::DispatchMessageA(AsMsg(m)); }

intptr_t DefWindowProcA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return ::DefWindowProcA(AsWindow(window), message, wparam, lparam);
}

}  // namespace platform

namespace platform {

static_assert(sizeof(PaintRecord) >= sizeof(PAINTSTRUCT), "PaintRecord holds a PAINTSTRUCT");

int32_t PostMessageA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  return ::PostMessageA(AsWindow(window), message, wparam, lparam);
}

void PostQuitMessage(int32_t code) { ::PostQuitMessage(code); }

uint32_t RegisterWindowMessageA(const char* name) { return ::RegisterWindowMessageA(name); }

Handle BeginPaint(Handle window, PaintRecord* paint) {
  return ::BeginPaint(AsWindow(window), reinterpret_cast<PAINTSTRUCT*>(paint));
}

int32_t EndPaint(Handle window, const PaintRecord* paint) {
  return ::EndPaint(AsWindow(window), reinterpret_cast<const PAINTSTRUCT*>(paint));
}

}  // namespace platform
