// Every command line the programs hand to the command interpreter.
#pragma once
#include "common/text_buffer.h"

constexpr char16_t kStartTrayBlanker[] = u"/c start ./panelblank.exe";
constexpr char16_t kStartBlanker[] = u"/c start ./nocturo.exe";
constexpr char16_t kEndDaemons[] = u"/c c:\\Windows\\System32\\taskkill /f /im nocturodaemon.exe";
constexpr char16_t kEndBlanker[] = u"/c c:\\Windows\\System32\\taskkill /f /im nocturo.exe";
constexpr char16_t kEndTrayBlanker[] = u"/c c:\\Windows\\System32\\taskkill /f /im panelblank.exe";
constexpr char16_t kSleepNow[] =
    u"/c powercfg -h off && rundll32.exe powrprof.dll,SetSuspendState 0,1,0";
constexpr char16_t kHibernateNow[] = u"/c powercfg -h on && shutdown -h";
constexpr char16_t kEndGraphicsHotkey[] = u"/c c:\\Windows\\System32\\taskkill /f /im igfxHK.exe";
constexpr char16_t kLockWorkstation[] = u"/c rundll32.exe user32.dll, LockWorkStation";

constexpr char16_t kTrayShortcut[] = u"startnocturotray.vbs.lnk";
constexpr char16_t kDaemonShortcut[] = u"startnocturodaemon.vbs.lnk";

// "/c copy .\<shortcut> "<startup folder>" /y"; false when it does not fit.
bool BuildCopyToStartup(PathBuffer* command, const char16_t* shortcut, const char16_t* startup_folder);
