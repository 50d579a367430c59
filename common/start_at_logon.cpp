#include "common/start_at_logon.h"

#include "common/admin_only.h"
#include "common/script_host.h"

const StartAtLogon kTrayStart = {kTrayAutostart, kTrayTask};
const StartAtLogon kDaemonStart = {kDaemonAutostart, kDaemonTask};

// `task_in_place` answers whether this user's task starts this copy already;
// the tray, which registers anew, asks nothing and links no look-up of it.
static LogonWay TurnOn(const StartAtLogon& start, bool (*task_in_place)(const LogonTaskBase&, const char16_t*)) {
  AutostartTexts texts;
  PrepareAutostart(start.link, &texts);
  PathBuffer folder;
  if (OnlyAdministratorsCanChange(&folder) &&
      ((task_in_place && task_in_place(start.task, folder.text)) || RegisterLogonTask(start.task, folder.text))) {
    RemoveInstalledLink(start.link, texts);
    return LogonWay::Task;
  }
  if (!VbscriptRuns()) {
    RemoveInstalledLink(start.link, texts);
    return LogonWay::None;
  }
  if (!task_in_place)
    InstallAutostart(start.link, texts);
  else if (!AutostartInstalled(texts))
    CopyShortcutToStartup(start.link, texts);
  return LogonWay::Link;
}

LogonWay TurnOnStartAtLogon(const StartAtLogon& start) {
  RemoveStaleLogonTask(start.task);
  return TurnOn(start, nullptr);
}

LogonWay KeepStartAtLogon(const StartAtLogon& start) { return TurnOn(start, LogonTaskStartsFrom); }

void TurnOffStartAtLogon(const StartAtLogon& start) {
  RemoveAutostart(start.link);
  RemoveLogonTask(start.task);
}

bool StartsForEveryone(const StartAtLogon& start) {
  return InstalledForEveryone(start.link) || LogonTaskForEveryone(start.task);
}

void MoveLinkToTask(const StartAtLogon& start) {
  AutostartTexts texts;
  PrepareAutostart(start.link, &texts);
  PathBuffer folder;
  if (AutostartInstalled(texts) && OnlyAdministratorsCanChange(&folder) &&
      RegisterLogonTask(start.task, folder.text))
    RemoveInstalledLink(start.link, texts);
}
