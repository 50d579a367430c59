// The shell's execute call and the folders it knows.
#pragma once
#include "platform/types.h"

namespace platform {

// Returns a value above 32 on success, as ShellExecuteA does.
intptr_t ShellExecuteA(Handle owner, const char* verb, const char* file, const char* parameters,
                       const char* directory, int32_t show);

// Returns the length written, or the size needed when `size` is too small.
uint32_t GetSystemDirectoryA(char* buffer, uint32_t size);

// Fills `path` (MAX_PATH bytes) with a special folder such as the user's Startup folder.
int32_t SHGetSpecialFolderPathA(Handle owner, char* path, int32_t folder, int32_t create);

// In this process's environment, which every program it starts inherits.
int32_t SetEnvironmentVariableA(const char* name, const char* value);

}  // namespace platform
