#include "common/process_names.h"

#include "common/image_names.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/win_values.h"

using platform::kTh32csSnapProcess;

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
  PathBuffer wanted;
  if (!WideName(name, &wanted)) return 0;
  const SessionFilter filter = MakeFilter(scope);
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kTh32csSnapProcess, 0);
  if (snapshot == platform::InvalidHandle()) return 0;
  int32_t count = 0;
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    if (platform::SameName(entry.exe_file, wanted.text) && InScope(filter, entry.process_id)) count++;
  }
  platform::CloseHandle(snapshot);
  return count;
}

uint32_t FindProcessIdByName(const char* name, ProcessScope scope) {
  PathBuffer wanted;
  if (!WideName(name, &wanted)) return 0;
  const SessionFilter filter = MakeFilter(scope);
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kTh32csSnapProcess, 0);
  uint32_t found = 0;
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    if (SameExactly(entry.exe_file, wanted.text) && InScope(filter, entry.process_id)) {
      found = entry.process_id;
      break;
    }
  }
  platform::CloseHandle(snapshot);
  return found;
}

