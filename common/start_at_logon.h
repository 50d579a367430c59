// Start at logon, the way this copy of the suite may have it: a logon task
// where only administrators can change its folder (no consent prompt, no
// script), the launcher script's link elsewhere while Windows can still run
// scripts, and nothing where it cannot.
#pragma once
#include "common/autostart.h"
#include "common/logon_task.h"

struct StartAtLogon {
  const AutostartBase& link;
  const LogonTaskBase& task;
};

extern const StartAtLogon kTrayStart;
extern const StartAtLogon kDaemonStart;

enum class LogonWay { Task, Link, None };

// Turns it on for this user, the tray's way: a stale task goes (see
// RemoveStaleLogonTask); the task is registered anew where one can be had, and
// a link of ours goes; elsewhere, or when the registration fails, the link is
// made over any installed one. Without VBScript no link is made and one of
// ours goes: None.
LogonWay TurnOnStartAtLogon(const StartAtLogon& start);
// The daemon's way: as above, but a task of this user that is just the one it
// would make is kept as it is, and an installed link too; the caller removes
// a stale task first.
LogonWay KeepStartAtLogon(const StartAtLogon& start);

// This user's task and link go; the ones an administrator made for everyone stay.
void TurnOffStartAtLogon(const StartAtLogon& start);

// An all-users task or an all-users link starts it already.
bool StartsForEveryone(const StartAtLogon& start);

// At a start in a folder only administrators can change: a link of ours from
// before becomes the task, so an upgrade to the installer ends the prompt.
void MoveLinkToTask(const StartAtLogon& start);
