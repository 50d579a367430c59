#include "platform/processes.h"

#include "platform/win32/win32.h"

#include <tlhelp32.h>

namespace platform {

// Walks with the real record and copies out the two fields the programs use.
static int32_t CopyEntry(BOOL ok, const PROCESSENTRY32W& real, ProcessEntry* entry) {
  static_assert(sizeof entry->exe_file == sizeof real.szExeFile, "the image names' buffers match");
  if (ok) {
    entry->process_id = real.th32ProcessID;
    CopyMemory(entry->exe_file, real.szExeFile, sizeof entry->exe_file);
  }
  return ok;
}

Handle CreateToolhelp32Snapshot(uint32_t flags, uint32_t process_id) {
  return ::CreateToolhelp32Snapshot(flags, process_id);
}

int32_t Process32First(Handle snapshot, ProcessEntry* entry) {
  PROCESSENTRY32W real;
  real.dwSize = sizeof real;
  return CopyEntry(::Process32FirstW(snapshot, &real), real, entry);
}

int32_t Process32Next(Handle snapshot, ProcessEntry* entry) {
  PROCESSENTRY32W real;
  real.dwSize = sizeof real;
  return CopyEntry(::Process32NextW(snapshot, &real), real, entry);
}

int32_t CloseHandle(Handle handle) { return ::CloseHandle(handle); }

uint32_t GetCurrentProcessId() { return ::GetCurrentProcessId(); }

int32_t ProcessIdToSessionId(uint32_t process_id, uint32_t* session) {
  DWORD id = 0;
  BOOL ok = ::ProcessIdToSessionId(process_id, &id);
  *session = id;
  return ok;
}

}  // namespace platform
