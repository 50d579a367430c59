// The shell's execute call.
#pragma once
#include "platform/types.h"

namespace platform {

// Returns a value above 32 on success, as ShellExecuteA does.
intptr_t ShellExecuteA(Handle owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int32_t show);

}  // namespace platform

namespace platform {

// Returns the length written, or the size needed when `size` is too small.
uint32_t GetSystemDirectoryA(char* buffer, uint32_t size);

}  // namespace platform
