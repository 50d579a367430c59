#include "common/process_names.h"

#include <cstring>

#include "common/text_buffer.h"
#include "platform/processes.h"
#include "platform/win_values.h"

using platform::kTh32csSnapProcess, platform::kProcessAllAccess;

// The caller's session, read once per look-up. A process whose session
// cannot be read counts as ours, as every process did before sessions were
// told apart: a look-up never misses a process it used to see.
struct SessionFilter {
  bool active;
  uint32_t own;
};

static SessionFilter MakeFilter(ProcessScope scope) {
  SessionFilter filter = {false, 0};
  if (scope == ProcessScope::Session)
    filter.active = platform::ProcessIdToSessionId(platform::GetCurrentProcessId(), &filter.own) != 0;
  return filter;
}

static bool InScope(const SessionFilter& filter, uint32_t process_id) {
  uint32_t session = 0;
  if (!filter.active || platform::ProcessIdToSessionId(process_id, &session) == 0) return true;
  return session == filter.own;
}

int32_t CountProcessesByName(const char* name, ProcessScope scope) {
  char wanted[kMaxPath] = {};
  // A name too long for any image name matches nothing.
  if (std::strlen(name) >= sizeof wanted) return 0;
  std::memcpy(wanted, name, std::strlen(name));
  platform::CharLowerBuffA(wanted, sizeof wanted);
  const SessionFilter filter = MakeFilter(scope);
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kTh32csSnapProcess, 0);
  if (snapshot == platform::InvalidHandle()) return 0;
  int32_t count = 0;
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    platform::CharLowerBuffA(entry.exe_file, sizeof entry.exe_file);
    if (platform::lstrcmpA(entry.exe_file, wanted) == 0 && InScope(filter, entry.process_id)) count++;
  }
  platform::CloseHandle(snapshot);
  return count;
}

uint32_t FindProcessIdByName(const char* name, ProcessScope scope) {
  const SessionFilter filter = MakeFilter(scope);
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kTh32csSnapProcess, 0);
  uint32_t found = 0;
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    if (std::strcmp(entry.exe_file, name) == 0 && InScope(filter, entry.process_id)) {
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
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kTh32csSnapProcess, 0);
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
