// What the Wine tests share: the session scripts/wine-env.sh sets up (each
// test program runs inside it, through scripts/in-wine-session.sh) and ways
// to run the built programs in fresh installation folders.
#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace e2e {

std::string PackageDir();  // the built programs
std::string ToolsDir();    // the test tools, never shipped

// A fresh, empty folder for one test.
std::string NewFolder(const std::string& name);
// A fresh folder holding copies of `files`: the package's programs (".exe")
// and the delivered files of dist/ (the launcher scripts).
std::string InstallFolder(const std::string& name, const std::vector<std::string>& files);
void CopyFile(const std::string& from, const std::string& to);
// Puts the stand-in tool into `folder` as `image`: run, it leaves
// "<image>.started" holding its working folder and waits until it is ended.
void PlantStandIn(const std::string& folder, const std::string& image);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// Signs `in` into `out` with a throwaway certificate ("signer" or "other",
// two publishers of one authority that tests/throwaway_certificates.sh makes
// once per test program); true when osslsigncode did.
bool Sign(const std::string& in, const std::string& out, const std::string& certificate);
// A console program's output, as written in text mode: without carriage returns.
std::string ReadLines(const std::string& path);
bool Exists(const std::string& path);

struct Result {
  int code = -1;       // the program's exit code; -1 when it timed out and was killed
  std::string output;  // standard output, without carriage returns
  std::string errors;  // standard error: what Wine wrote
};

// Runs `wine <program> <args>` in `folder` and waits up to `timeout_ms`.
Result RunWine(const std::string& folder, const std::string& program,
               const std::vector<std::string>& args, int timeout_ms);
// Starts it in the background, its standard output going to `out_path` if
// given, and its error output to `err_path`, or else where ShowWineErrors
// finds it; end it with WaitExit or Kill.
pid_t StartWine(const std::string& folder, const std::string& program, const std::vector<std::string>& args,
                const std::string& out_path = "", const std::string& err_path = "");
// A stand-in run as `image` from a fresh folder of its own, once it runs.
pid_t StartStandIn(const std::string& folder_name, const std::string& image);
// The exit code, or -1 when it has not ended within `timeout_ms`.
int WaitExit(pid_t pid, int timeout_ms);
void Kill(pid_t pid);

// A program a test started, ended when this goes, however the test ends. One
// whose exit WaitExit saw is not ended again.
class Program {
 public:
  explicit Program(pid_t pid = -1) : pid_(pid) {}
  ~Program();
  Program(Program&& other) : pid_(other.pid_) { other.pid_ = -1; }
  Program& operator=(Program&& other);
  int WaitExit(int timeout_ms);
  bool Running() { return WaitExit(0) == -1; }

 private:
  pid_t pid_;
};

// A change a test makes to the Wine prefix, undone when this goes. It is
// written into a journal first: a test that CTest's timeout killed runs no
// destructor, and the next test's start undoes what the journal holds.
class Undo {
 public:
  // Moves `path` aside now and back at the end.
  static Undo MoveAside(const std::string& path);
  // Runs `command` (a shell line) at the end.
  static Undo Run(const std::string& command);
  ~Undo();
  Undo(Undo&& other) : line_(std::move(other.line_)) { other.line_.clear(); }

 private:
  explicit Undo(std::string line);
  std::string line_;
};
// What the journal holds, undone; and the suite's programs ended. Every test starts so.
void StartClean();
// What each program the test started wrote on its standard error (Wine's word
// on one it could not start or run), shown when the test failed; then dropped.
void ShowWineErrors(bool failed);
// A mark of Wine failing to run a program, which no product fault leaves: a
// loader error, a helper ending with a code it never returns or answering
// "no" before its wait is up, a suite program's impossible exit code. A test
// that failed with such a mark is tried once more in a new session
// (scripts/in-wine-session.sh); one without, or in which a program crashed
// ("wine: Unhandled ..."), fails the run.
void NoteWineBroke(const std::string& what);

// Ends every program of the session and starts the next ones on a virtual
// desktop named "shell", which has a taskbar with a notification area (on),
// or on the plain session the other tests use (off).
void UseShellDesktop(bool on);
// A real mouse click on the display, left (1) or right (3) button.
void ClickAt(int x, int y, int button);

// The user's Startup folder in the prefix, and the one for every user, as Unix paths.
std::string StartupFolder();
std::string CommonStartupFolder();
// How a program under Wine sees a Unix path: "Z:\..." with backslashes.
std::string WindowsPath(const std::string& unix_path);

// Polls `done` every 100 ms for up to `timeout_ms`.
template <typename F>
bool Eventually(F done, int timeout_ms);
void SleepMs(int ms);
long long NowMs();  // the wall clock, as Wine's system time reads it

}  // namespace e2e

template <typename F>
bool e2e::Eventually(F done, int timeout_ms) {
  for (int waited = 0; waited <= timeout_ms; waited += 100) {
    if (done()) return true;
    SleepMs(100);
  }
  return done();
}
