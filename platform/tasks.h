// The Task Scheduler, through its COM interface: logon tasks in a folder of
// the scheduler's library. HRESULTs: negative on failure.
#pragma once
#include "platform/types.h"

namespace platform {

// Registers `name` in `folder` ("\Nocturo") from its XML, replacing a task
// of that name, to run with the token of the user it names. The folder, made
// or found, and the task get the security descriptor `security` (SDDL), and
// the user no entry of their own.
int32_t RegisterTask(const char16_t* folder, const char16_t* name, const char16_t* xml, const char16_t* security);
// S_FALSE (1) when there is no such task.
int32_t DeleteTask(const char16_t* folder, const char16_t* name);
// What decides whether a registered task is the one a program would make.
struct TaskFacts {
  char16_t program[260];  // the first action's program
  char16_t user[260];     // the principal's user, empty where it names a group
  bool group;             // the principal is a group
  bool highest;           // at the highest run level
  bool on_demand;         // anyone allowed to may start it at will
};
// S_OK, S_FALSE (1) when there is no such task, or the failure.
int32_t ReadTask(const char16_t* folder, const char16_t* name, TaskFacts* facts);
// Every task in `folder`, whoever made it, then the folder itself.
int32_t DeleteTaskFolder(const char16_t* folder);

// The SID of the account this process runs as, "S-1-5-21-...": the length
// written, or 0 on failure.
uint32_t UserSid(char16_t* buffer, uint32_t size);

}  // namespace platform
