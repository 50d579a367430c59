// Time, threads and the end of the process.
#pragma once
#include "platform/types.h"

namespace platform {

void Sleep(uint32_t ms);

// pthread_create with default attributes and a null argument; the thread is
// detached so that a finished one holds nothing. Returns 0 on success.
int32_t StartThread(ThreadProc proc);

// The C runtime's exit.
[[noreturn]] void Exit(int32_t code);

Handle GetModuleHandleA(const char* name);

// SetDefaultDllDirectories, looked up at run time: 0 where Windows lacks it
// (Windows 7 without its 2011 loader update), and nothing changes there.
int32_t SetDefaultDllDirectories(uint32_t flags);

}  // namespace platform
