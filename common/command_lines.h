// Every command line the programs hand to the command interpreter.
#pragma once
#include "common/text_buffer.h"

constexpr char kStartTrayBlanker[] = "/c start ./panelblank.exe";
constexpr char kStartBlanker[] = "/c start ./nocturo.exe";
constexpr char kEndDaemons[] = "/c c:\\Windows\\System32\\taskkill /f /im nocturodaemon.exe";
constexpr char kEndBlanker[] = "/c c:\\Windows\\System32\\taskkill /f /im nocturo.exe";
constexpr char kEndTrayBlanker[] = "/c c:\\Windows\\System32\\taskkill /f /im panelblank.exe";
constexpr char kSleepNow[] =
    "/c powercfg -h off && rundll32.exe powrprof.dll,SetSuspendState 0,1,0";
constexpr char kHibernateNow[] = "/c powercfg -h on && shutdown -h";
constexpr char kEndGraphicsHotkey[] = "/c c:\\Windows\\System32\\taskkill /f /im igfxHK.exe";
constexpr char kLockWorkstation[] = "/c rundll32.exe user32.dll, LockWorkStation";

constexpr char kTrayShortcut[] = "startnocturotray.vbs.lnk";
constexpr char kDaemonShortcut[] = "startnocturodaemon.vbs.lnk";

// "/c copy .\<shortcut> "<startup folder>" /y"; false when it does not fit.
bool BuildCopyToStartup(TextBuffer* command, const char* shortcut, const char* startup_folder);
