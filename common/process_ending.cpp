// Ending processes by name: the daemon's alone, apart from counting and
// finding, so that no other program imports the calls that end a process.
#include "common/image_names.h"
#include "common/process_names.h"
#include "platform/processes.h"
#include "platform/win_values.h"

using platform::kTh32csSnapProcess, platform::kProcessAllAccess;

// Ends the processes named exactly `name` in snapshot order, all but `spared`
// (0 spares none). 0 when none matched or one failed to end, else 1.
static int32_t EndByName(const char* name, uint32_t spared, bool stop_at_failure) {
  PathBuffer wanted;
  if (!WideName(name, &wanted)) return 0;
  int32_t result = 1;
  bool matched = false;
  platform::Handle snapshot = platform::CreateToolhelp32Snapshot(kTh32csSnapProcess, 0);
  platform::ProcessEntry entry;
  entry.size = sizeof entry;
  for (int32_t more = platform::Process32First(snapshot, &entry); more;
       more = platform::Process32Next(snapshot, &entry)) {
    if (!SameExactly(entry.exe_file, wanted.text) || entry.process_id == spared) continue;
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
