// Message retrieval, dispatch and sending.
#pragma once
#include "platform/types.h"

namespace platform {

int32_t GetMessageA(Message* message, Handle window, uint32_t first, uint32_t last);
int32_t GetMessageW(Message* message, Handle window, uint32_t first, uint32_t last);
int32_t TranslateMessage(const Message* message);
intptr_t DispatchMessageA(const Message* message);
intptr_t DefWindowProcA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
intptr_t DefWindowProcW(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);
intptr_t SendMessageA(Handle window, uint32_t message, uintptr_t wparam, intptr_t lparam);

}  // namespace platform
