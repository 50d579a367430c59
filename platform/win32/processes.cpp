#include "platform/processes.h"

#include "platform/win32/win32.h"

#include <tlhelp32.h>

namespace platform {

// Walks with the real record and copies out the two fields the programs use.
static int32_t CopyEntry(BOOL ok, const PROCESSENTRY32& real, ProcessEntry* entry) {
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
  PROCESSENTRY32 real;
  real.dwSize = sizeof real;
  return CopyEntry(::Process32First(snapshot, &real), real, entry);
}

int32_t Process32Next(Handle snapshot, ProcessEntry* entry) {
  PROCESSENTRY32 real;
  real.dwSize = sizeof real;
  return CopyEntry(::Process32Next(snapshot, &real), real, entry);
}

Handle OpenProcess(uint32_t access, int32_t inherit, uint32_t process_id) {
  return ::OpenProcess(access, inherit, process_id);
}

int32_t TerminateProcess(Handle process, uint32_t exit_code) {
  return ::TerminateProcess(process, exit_code);
}

int32_t CloseHandle(Handle handle) { return ::CloseHandle(handle); }

uint32_t GetCurrentProcessId() { return ::GetCurrentProcessId(); }

int32_t ProcessIdToSessionId(uint32_t process_id, uint32_t* session) {
  DWORD id = 0;
  BOOL ok = ::ProcessIdToSessionId(process_id, &id);
  *session = id;
  return ok;
}

uint32_t WTSGetActiveConsoleSessionId() { return ::WTSGetActiveConsoleSessionId(); }

uint32_t CharLowerBuffA(char* text, uint32_t length) { return ::CharLowerBuffA(text, length); }

int32_t lstrcmpA(const char* a, const char* b) { return ::lstrcmpA(a, b); }

}  // namespace platform
