// The shell's execute call and the folders it knows.
#pragma once
#include "platform/types.h"

namespace platform {

// ShellExecute, wide: returns a value above 32 on success.
intptr_t ShellRun(Handle owner, const char16_t* verb, const char16_t* file,
                  const char16_t* parameters, const char16_t* directory, int32_t show);

// The system folder: the length written, or the size needed when `size` is too small.
uint32_t SystemFolder(char16_t* buffer, uint32_t size);
// The system folder of Windows' own width, which the shell's programs come
// from: a 32-bit program on 64-bit Windows reaches it as Sysnative. The
// length written, or 0 when it fails or does not fit.
uint32_t NativeSystemFolder(char16_t* buffer, uint32_t size);

// Fills `path` (MAX_PATH characters) with a special folder such as the user's Startup folder.
int32_t SpecialFolderPath(Handle owner, char16_t* path, int32_t folder, int32_t create);

// Windows' own folder, not a user's per-session one: the length written, or
// the size needed when `size` is too small.
uint32_t WindowsFolder(char16_t* buffer, uint32_t size);
// In this process's environment, which every program it starts inherits.
int32_t SetEnvironment(const char16_t* name, const char16_t* value);

}  // namespace platform
