// The helper tool's verbs (e2e/tools/helper.cpp) as functions: each runs the
// helper once and returns what it reported.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>

namespace e2e {

bool WaitProcess(const std::string& image, bool appear, int timeout_ms);
int CountProcess(const std::string& image);
// Ends every process of that exact image name (or names, separated by commas);
// false when the helper could not look (no snapshot, or it did not run).
bool EndAll(const std::string& images);

struct WindowInfo {
  bool found = false;
  int visible = -1, width = -1, height = -1, min_width = -1, min_height = -1, x = -1, y = -1;
};
// The first window of that class and title ("" for an untitled one).
WindowInfo WaitWindow(const std::string& window_class, const std::string& title, int timeout_ms = 0);
bool WindowExists(const std::string& window_class, const std::string& title, int timeout_ms = 0);
// A tray that starts must not meet another, nor one still ending: it would
// end on its one-copy check instead, and a window left for a moment by an
// ended tray would pass for its own. True once neither is left.
bool NoTrayRuns();

bool Post(const std::string& window_class, const std::string& title, uint32_t message,
          uintptr_t wparam = 0, intptr_t lparam = 0);
// True when the window answered within `timeout_ms`.
bool Send(const std::string& window_class, const std::string& title, uint32_t message, int timeout_ms);
bool BroadcastRegistered(const std::string& name);
bool Key(uint16_t virtual_key);
// Keys pressed in order and released last first, as "0x11+0x12+0x42".
bool Keys(const std::string& combination);
bool Move(int x, int y);

struct LinkInfo {
  bool found = false;
  std::string target, workdir;
};
// The shell link at that Unix path.
LinkInfo ReadLink(const std::string& path);

// The text, in UTF-8, of the first visible window of that class (a tooltip's: what it shows).
std::string WindowText(const std::string& window_class, int timeout_ms);
// What `command` shows in a console of its own within `ms`, as UTF-8 lines.
std::string ConsoleShows(const std::string& command, int ms);

struct ProcessStats {
  long cpu_ms = -1, threads = -1, handles = -1, working_set_kb = -1;
};
ProcessStats Stats(const std::string& image);

// Sends the display state (0 off, 1 on, 2 dimmed) to the window of the
// process named `image`, as Windows does; true when it was handled.
bool ReportDisplay(const std::string& image, int state);
// A top-level window that appends "UNIX_MS LPARAM" to `file` for each display-off broadcast.
pid_t StartBroadcastWatch(const std::string& file, int ms);
// A top-level window whose thread never retrieves messages, for `ms`.
pid_t StartHungWindow(int ms);
// Another program holding that hotkey (RegisterHotKey's modifiers and key) for `ms`, once it holds it.
pid_t StartHotkeyHolder(uint32_t modifiers, uint32_t virtual_key, int ms);
// A checksum of the screen's colours in that rectangle.
std::string Region(int x, int y, int width, int height);
bool ForgetIcon(const std::string& window_class, const std::string& title, uint32_t id);
// The ANSI code page the session's programs get (from LC_ALL).
int CodePage();
// The whole exit code of a Windows command line, or -1 when it did not end within `timeout_ms`.
int ExitCode(const std::string& command_line, int timeout_ms);
// The tray's logon task for `folder` (a Windows path), registered by the
// product's own functions as \\Nocturo\\<name>; the scheduler must run.
bool RegisterTask(const std::string& name, const std::string& folder);
// The HRESULTs, in hexadecimal, of deleting \\Nocturo\\<name>, and every task there with the folder.
std::string DeleteTask(const std::string& name);
std::string DeleteTaskFolder();
// "yes" or "no": whether only administrators can change `folder` (a Windows
// path), judged by the programs' own code from the descriptors in the file at
// `table_path`, one "PATH<tab>SDDL" line each, converted by Windows.
std::string AdminOnly(const std::string& folder, const std::string& table_path);

}  // namespace e2e
