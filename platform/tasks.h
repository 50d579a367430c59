// The Task Scheduler, through its COM interface: logon tasks in a folder of
// the scheduler's library. HRESULTs: negative on failure.
#pragma once
#include "platform/types.h"

namespace platform {

// Registers `name` in `folder` ("\Nocturo", made when missing) from its XML,
// replacing a task of that name, to run with the token of the user it names.
int32_t RegisterTask(const char16_t* folder, const char16_t* name, const char16_t* xml);
// S_FALSE (1) when there is no such task.
int32_t DeleteTask(const char16_t* folder, const char16_t* name);
// The program the task's first action starts, into `path` (`size`
// characters): S_OK, S_FALSE (1) when there is no such task.
int32_t TaskProgram(const char16_t* folder, const char16_t* name, char16_t* path, uint32_t size);
// Every task in `folder`, whoever made it, then the folder itself.
int32_t DeleteTaskFolder(const char16_t* folder);

// The SID of the account this process runs as, "S-1-5-21-...": the length
// written, or 0 on failure.
uint32_t UserSid(char16_t* buffer, uint32_t size);

}  // namespace platform
