// Message retrieval, dispatch, posting and sending; painting.
#pragma once
#include "platform/types.h"

namespace platform {

int32_t GetMessageA(Message* message, Handle window, uint32_t first, uint32_t last);
int32_t GetMessageW(Message* message, Handle window, uint32_t first, uint32_t last);
int32_t TranslateMessage(const Message* message);
intptr_t DispatchMessageA(const Message* message);
intptr_t DefWindowProcA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
intptr_t DefWindowProcW(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
// Returns nonzero when the message was delivered (to a broadcast: when it ended in time).
intptr_t SendMessageTimeoutA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam,
                             uint32_t flags, uint32_t timeout_ms);
int32_t PostMessageA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
void PostQuitMessage(int32_t code);
uint32_t RegisterWindowMessageA(const char* name);

// Room for a PAINTSTRUCT.
struct PaintRecord {
  alignas(8) uint8_t bytes[72];
};
Handle BeginPaint(Handle window, PaintRecord* paint);
int32_t EndPaint(Handle window, const PaintRecord* paint);

}  // namespace platform
