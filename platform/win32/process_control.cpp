// Ending processes and the console session: the daemon's alone, apart from
// the snapshot's calls, so no other program imports them.
#include "platform/processes.h"
#include "platform/win32/win32.h"

namespace platform {

Handle OpenProcess(uint32_t access, int32_t inherit, uint32_t process_id) {
  return ::OpenProcess(access, inherit, process_id);
}

int32_t TerminateProcess(Handle process, uint32_t exit_code) { return ::TerminateProcess(process, exit_code); }

uint32_t WTSGetActiveConsoleSessionId() { return ::WTSGetActiveConsoleSessionId(); }

}  // namespace platform
