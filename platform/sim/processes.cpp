#include "platform/processes.h"

#include <cctype>
#include <cstring>

#include "platform/sim/state.h"

namespace platform {

using sim::Lock;

Handle CreateToolhelp32Snapshot(uint32_t flags, uint32_t process_id) {
  Lock lock = sim::Enter();
  sim::State& s = sim::S();
  if (sim::Failing("CreateToolhelp32Snapshot")) {
    sim::Trace("CreateToolhelp32Snapshot fails");
    return InvalidHandle();
  }
  Handle h = sim::NewHandle();
  s.snapshots[h] = s.world.processes;  // a copy: later changes do not show
  s.snapshot_pos[h] = 0;
  sim::Trace("CreateToolhelp32Snapshot %u %u", flags, process_id);
  return h;
}

static int32_t Walk(Handle snapshot, ProcessEntry* entry, bool first) {
  Lock lock = sim::Enter();
  sim::State& s = sim::S();
  auto found = s.snapshots.find(snapshot);
  if (found == s.snapshots.end() || entry->size != sizeof(ProcessEntry)) return 0;
  size_t& pos = s.snapshot_pos[snapshot];
  if (first) pos = 0;
  if (pos >= found->second.size()) return 0;
  const sim::ProcessRow& row = found->second[pos++];
  entry->process_id = row.pid;
  std::memset(entry->exe_file, 0, sizeof entry->exe_file);
  sim::GiveText(sim::Utf16(row.name), entry->exe_file, 260);
  return 1;
}

int32_t Process32First(Handle snapshot, ProcessEntry* entry) { return Walk(snapshot, entry, true); }

int32_t Process32Next(Handle snapshot, ProcessEntry* entry) { return Walk(snapshot, entry, false); }

Handle OpenProcess(uint32_t access, int32_t inherit, uint32_t process_id) {
  Lock lock = sim::Enter();
  sim::State& s = sim::S();
  bool exists = false;
  for (const sim::ProcessRow& row : s.world.processes) exists = exists || row.pid == process_id;
  bool fails = sim::Failing("OpenProcess") || !exists;
  sim::Trace("OpenProcess %X %d %u%s", access, inherit, process_id, fails ? " fails" : "");
  if (fails) return nullptr;
  Handle h = sim::NewHandle();
  s.process_handles[h] = process_id;
  return h;
}

int32_t TerminateProcess(Handle process, uint32_t exit_code) {
  Lock lock = sim::Enter();
  sim::State& s = sim::S();
  auto found = s.process_handles.find(process);
  if (found == s.process_handles.end() || sim::Failing("TerminateProcess")) {
    sim::Trace("TerminateProcess fails");
    return 0;
  }
  uint32_t pid = found->second;
  sim::Trace("TerminateProcess %u %u", pid, exit_code);
  if (pid == s.world.self_pid) {
    sim::Trace("exit %u", exit_code);
    sim::EndChild(static_cast<int>(exit_code & 0xff));
  }
  auto& rows = s.world.processes;
  for (auto it = rows.begin(); it != rows.end(); ++it)
    if (it->pid == pid) {
      rows.erase(it);
      break;
    }
  return 1;
}

int32_t CloseHandle(Handle handle) {
  Lock lock = sim::Enter();
  sim::State& s = sim::S();
  size_t closed = s.snapshots.erase(handle) + s.process_handles.erase(handle);
  s.snapshot_pos.erase(handle);
  return closed != 0;
}

uint32_t GetCurrentProcessId() { return sim::S().world.self_pid; }

int32_t ProcessIdToSessionId(uint32_t process_id, uint32_t* session) {
  Lock lock = sim::Enter();
  if (sim::Failing("ProcessIdToSessionId")) return 0;
  for (const sim::ProcessRow& row : sim::S().world.processes)
    if (row.pid == process_id) {
      *session = row.session;
      return 1;
    }
  return 0;
}

uint32_t WTSGetActiveConsoleSessionId() {
  Lock lock = sim::Enter();
  uint32_t session = 1;
  for (const auto& at : sim::S().world.console)
    if (at.first <= sim::S().now) session = at.second;
  sim::Trace("WTSGetActiveConsoleSessionId %u", session);
  return session;
}

}  // namespace platform

namespace sim {

int OpenHandles() {
  Lock lock = Enter();
  return static_cast<int>(S().snapshots.size() + S().process_handles.size());
}

}  // namespace sim
