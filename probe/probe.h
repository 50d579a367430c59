// The console probe: does this machine report the display state? It prints
// its report at the first notification, lists the sleep states, and then
// keeps its console open, its window still answering.
#pragma once
#include <cstdint>

#include "platform/types.h"

extern platform::Handle ProbeWindow;

int ProbeMain();
intptr_t PLATFORM_CALLBACK ProbeWindowProc(platform::Handle window, uint32_t message,
                                           uintptr_t wparam, intptr_t lparam);
