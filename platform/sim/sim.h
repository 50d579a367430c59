// The simulated Windows: runs one program entry, threads and all, against a
// scripted world in virtual time, in a forked child, and returns its trace.
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace sim {

struct TimedPoint {
  int64_t at;
  int32_t x;
  int32_t y;
};

struct TimedColour {
  int64_t at;
  uint32_t colour;
};

enum class EventKind { DisplayState, Key, Post, File };

struct Event {
  int64_t at;
  EventKind kind;
  uint32_t value;       // display state, virtual key, or message id
  uintptr_t wparam;
  intptr_t lparam;
  std::string window;   // Post: title of the target window, empty for the main thread; File: path
  std::string contents;  // File: the bytes written there from outside the program
};

struct ProcessRow {
  uint32_t pid;
  std::string name;
  uint32_t session = 1;  // the desktop session; the program itself runs in 1
};

struct World {
  std::string image_name = "nocturo.exe";
  uint32_t self_pid = 1000;
  int32_t width = 1920;
  int32_t height = 1080;
  std::string system_dir = "C:\\Windows\\System32";
  std::string windows_dir = "C:\\Windows";
  // Map onto the run's folder: the working directory, Startup/ and System32/ in it;
  // the scheduler's tasks are files in Tasks/, as Wine keeps them.
  std::string current_dir = "C:\\Program Files\\Nocturo";
  std::string program_dir;  // the folder that holds the program; empty: current_dir
  // Short spellings and the long names they stand for, as Windows opens them.
  std::vector<std::pair<std::string, std::string>> long_names;
  std::set<std::string> reparse_points;  // relative paths that are junctions or symbolic links
  // Junctions by Windows path, and the folder each leads to.
  std::vector<std::pair<std::string, std::string>> junctions;
  // Security descriptors as SDDL, by Windows path; a path without one cannot be read.
  std::map<std::string, std::string> security;
  std::string user_sid = "S-1-5-21-1004336348-1177238915-682003330-1001";
  // Authenticode signatures by file name: WinVerifyTrust's answer and the leaf
  // certificate it names; none where absent.
  struct Signature {
    int32_t result;
    std::string leaf;
  };
  std::map<std::string, Signature> signatures;
  bool image_renamed = false;  // the program's own file renamed away while it runs
  // Values by "HKCR|HKLM|HKCU\\key\\name" (an empty name is the default): text, or "dword:N".
  std::map<std::string, std::string> registry = {{"HKCR\\.vbs\\", "VBSFile"}};
  std::string startup_dir = "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup";
  // The all-users Startup folder: CommonStartup/ in the run's folder.
  std::string common_startup_dir = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp";
  std::map<uint32_t, std::string> strings;                 // the program's string resources
  std::vector<std::pair<std::string, std::string>> files = {{"System32/vbscript.dll", "MZ"}};  // relative path, contents
  std::vector<ProcessRow> processes;                       // others; the program itself is added
  std::vector<TimedPoint> cursor;                          // (0, 0) before the first
  std::vector<TimedColour> pixels;                         // 0 before the first
  std::vector<int64_t> input;  // keyboard or mouse input, as GetLastInputInfo counts it
  // The session at the physical console from then on; 1, the program's, before the first.
  std::vector<std::pair<int64_t, uint32_t>> console;
  std::vector<Event> events;
  std::set<std::string> failures;  // names of calls that fail, e.g. "ShellExecuteA"
  int thread_room = -1;            // threads the program can start before creation fails; -1 no limit
  std::vector<uint32_t> menu_choices;  // one per TrackPopupMenu; 0 closes the menu unchosen

  World& File(const std::string& path, const std::string& contents);
  World& Process(const std::string& name, uint32_t pid = 0, uint32_t session = 1);
  World& CursorAt(int64_t at, int32_t x, int32_t y);
  World& PixelAt(int64_t at, uint32_t colour);
  World& InputAt(int64_t at);
  World& ConsoleAt(int64_t at, uint32_t session);
  World& Display(int64_t at, uint32_t state);
  World& Key(int64_t at, uint32_t virtual_key = 0x41);
  World& Post(int64_t at, uint32_t message, uintptr_t wparam = 0, intptr_t lparam = 0,
              const std::string& window = "");
  World& FileAt(int64_t at, const std::string& path, const std::string& contents);
  World& Fail(const std::string& call);
};

struct TraceLine {
  int64_t at;
  int thread;
  std::string text;
};

enum class End { Exit, TimeUp, Deadlock, Crash, Hang };

struct Run {
  End end = End::Crash;
  int32_t exit_code = -1;
  int64_t ended_at = -1;
  std::vector<TraceLine> lines;
  std::map<std::string, std::string> files;  // the working directory at the end
  std::string output;                        // what the program wrote to standard output

  // Time of the first line containing `needle`, or -1.
  int64_t First(const std::string& needle) const;
  int Count(const std::string& needle) const;
  std::vector<int64_t> Times(const std::string& needle) const;
  std::string Text() const;  // the whole trace, for failure messages
  std::string FileBytes(const std::string& path) const;
};

using Entry = int (*)();

// Runs `entry` as a simulated process until it exits or virtual time passes `until_ms`.
Run RunProgram(Entry entry, const World& world, int64_t until_ms);

// For a test's entry function inside a run: adds a line to the trace.
void Note(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Handles the program holds open (snapshots, processes).
int OpenHandles();

const char* EndName(End end);
// The programs' texts are GBK bytes, and so are the trace's lines that carry
// them; wide texts (paths, command lines) the trace shows as UTF-8.
std::string Utf8FromGbk(const std::string& gbk);
// Upper-case hexadecimal, as the trace writes message ids.
std::string Hex(uint32_t value);

}  // namespace sim
