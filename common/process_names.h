// Finding, counting and ending processes by image name over a fresh snapshot.
#pragma once
#include <cstdint>

constexpr char kBlankerImage[] = "nocturo.exe";
constexpr char kTrayBlankerImage[] = "panelblank.exe";
constexpr char kTrayImage[] = "nocturotray.exe";
constexpr char kDaemonImage[] = "nocturodaemon.exe";
constexpr char kGraphicsHotkeyImage[] = "igfxHK.exe";

// Which processes a look-up sees. A tray icon belongs to one user's desktop
// session, so "is my tray running" asks only the caller's session; the daemon,
// info.ini and the power actions belong to the machine.
enum class ProcessScope { Machine, Session };

// Names are compared as Windows reports them, UTF-16: a look-alike of ours in
// any code page is another name.
// Processes whose image name equals `name` without regard to case, as the file
// system compares names; 0 when the snapshot fails.
int32_t CountProcessesByName(const char* name, ProcessScope scope);
// Id of the first process whose image name equals `name` exactly, or 0.
uint32_t FindProcessIdByName(const char* name, ProcessScope scope);
// Ends every process named exactly `name`, the caller too when its entry
// comes up. -1 for a null name, 0 when none matched or one failed to end
// (the walk stops there), 1 when every match was ended.
int32_t TerminateProcessesByName(const char* name);
// Ends every other process named exactly `name`, going on past one that fails.
void TerminateOtherProcessesByName(const char* name);
