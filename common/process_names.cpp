#include "common/process_names.h"

#include <cstring>

#include "common/text_buffer.h"
#include "platform/processes.h"

constexpr uint32_t kSnapProcess = 0x00000002;    // TH32CS_SNAPPROCESS
constexpr uint32_t kProcessAllAccess = 0x1FFFFF;

int32_t CountProcessesByName(const char* name) {
  char wanted[kMaxPath] = {};
  // A name too long for any image name matches nothing.
  if (std::strlen(name) >= sizeof wanted) return 0;
  std::memcpy(wanted, name, std::strlen(name));
  platform::CharLowerBuffA(wanted, sizeof wanted);
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kSnapProcess, 0);
  if (snapshot == platform::InvalidHandle()) return 0;
  int32_t count = 0;
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    platform::CharLowerBuffA(entry.exe_file, sizeof entry.exe_file);
    if (platform::lstrcmpA(entry.exe_file, wanted) == 0) count++;
  }
  platform::CloseHandle(snapshot);
  return count;
}

uint32_t FindProcessIdByName(const char* name) {
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kSnapProcess, 0);
  uint32_t found = 0;
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    if (std::strcmp(entry.exe_file, name) == 0) {
      found = entry.process_id;
      break;
    }
  }
  platform::CloseHandle(snapshot);
  return found;
}

// Ends the processes named exactly `name` in snapshot order, all but `spared`
// (0 spares none). 0 when none matched or one failed to end, else 1.
static int32_t EndByName(const char* name, uint32_t spared, bool stop_at_failure) {
  int32_t result = 1;
  bool matched = false;
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kSnapProcess, 0);
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    if (std::strcmp(entry.exe_file, name) != 0 || entry.process_id == spared) continue;
    matched = true;
    platform::Handle process = platform::OpenProcess(kProcessAllAccess, 1, entry.process_id);
    int32_t ended = process ? platform::TerminateProcess(process, 0) : 0;
    if (process) platform::CloseHandle(process);
    if (ended != 1) {
      result = 0;
      if (stop_at_failure) break;
    }
  }
  platform::CloseHandle(snapshot);
  return matched ? result : 0;
}

int32_t TerminateProcessesByName(const char* name) {
  if (!name) return -1;
  return EndByName(name, 0, true);
}

void TerminateOtherProcessesByName(const char* name) {
  EndByName(name, platform::GetCurrentProcessId(), false);
}
