// Process snapshots, opening and ending processes.
#pragma once
#include "platform/types.h"

namespace platform {

// The fields of PROCESSENTRY32W the programs use: the image name as Windows
// has it, never narrowed to a look-alike.
struct ProcessEntry {
  uint32_t size;
  uint32_t process_id;
  char16_t exe_file[260];
};

Handle CreateToolhelp32Snapshot(uint32_t flags, uint32_t process_id);
int32_t Process32First(Handle snapshot, ProcessEntry* entry);
int32_t Process32Next(Handle snapshot, ProcessEntry* entry);
Handle OpenProcess(uint32_t access, int32_t inherit, uint32_t process_id);
int32_t TerminateProcess(Handle process, uint32_t exit_code);
int32_t CloseHandle(Handle handle);
uint32_t GetCurrentProcessId();
int32_t ProcessIdToSessionId(uint32_t process_id, uint32_t* session);
// The session attached to the physical screen and keyboard; 0xFFFFFFFF while none is.
uint32_t WTSGetActiveConsoleSessionId();

}  // namespace platform
