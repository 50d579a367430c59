#include "daemon/daemon.h"

#include "common/command_lines.h"
#include "common/display_state.h"
#include "common/own_folder.h"
#include "common/process_names.h"
#include "common/settings.h"
#include "common/shell_command.h"
#include "common/start_at_logon.h"
#include "daemon/idle_monitor.h"
#include "platform/files.h"
#include "platform/threads.h"

constexpr uint32_t kBeforeEndingDaemonsMs = 500;
constexpr uint32_t kBeforeMonitorMs = 1000;

// Ending ourselves when our own snapshot entry came up would leave the
// daemons listed after it running: the others go first, then this run ends.
static int RemoveDaemon() {
  TurnOffStartAtLogon(kDaemonStart);
  platform::Sleep(kBeforeEndingDaemonsMs);
  TerminateOtherProcessesByName(kDaemonImage);
  ShellCommand(kEndDaemons, false);  // also what the walk could not end, in any letter case
  return 0;
}

int DaemonMain() {
  // On until the display-state window reports otherwise: without notifications
  // the daemon counts as if the display were always on.
  DisplayOn.store(1);
  SearchCommandsInTheSystemOnly();
  if (!RunsInItsOwnFolder()) return 0;
  if (ClampDaemonEnabled(ReadSetting(kInfoIni, "daemon")) != 1) return RemoveDaemon();
  const bool pixel_test = ClampImageChange(ReadSetting(kInfoIni, "imagechange")) == 1;
  const int32_t sleep_action = ClampSleepAction(ReadSetting(kInfoIni, "sleep"));
  // One daemon per session: each watches its own session's input. A plain
  // count: two started at the same moment may both see 2 and both end,
  // leaving none. The next logon starts one again.
  if (CountProcessesByName(kDaemonImage, ProcessScope::Session) > 1) return 0;
  if (platform::Access(kDaemonImage, 0) != 0) return 0;
  if (platform::Access(kDaemonAutostart.script, 0) != 0) return 0;
  // An installed link is kept as it is, even one that points elsewhere; a task
  // or link an administrator made for every user starts us already. Without
  // a way to start at logon the daemon runs all the same.
  RemoveStaleLogonTask(kDaemonTask);
  if (!StartsForEveryone(kDaemonStart)) KeepStartAtLogon(kDaemonStart);
  RemoveLocalShortcut(kDaemonAutostart);
  platform::StartThread(DisplayStatePumpThread);
  const int32_t idle_limit = ClampIdleMinutes(ReadSetting(kInfoIni, "minute")) * kTicksPerMinute;
  const int32_t sleep_limit =
      ClampSleepMinutes(ReadSetting(kInfoIni, "sleepminute")) * kTicksPerMinute;
  platform::Sleep(kBeforeMonitorMs);
  RemoveLocalShortcut(kDaemonAutostart);
  RunIdleMonitor(pixel_test, sleep_action, idle_limit, sleep_limit);
}
