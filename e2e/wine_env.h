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
void CopyFile(const std::string& from, const std::string& to);
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);

struct Result {
  int code = -1;       // the program's exit code; -1 when it timed out and was killed
  std::string output;  // standard output, without carriage returns
};

// Runs `wine <program> <args>` in `folder` and waits up to `timeout_ms`.
Result RunWine(const std::string& folder, const std::string& program,
               const std::vector<std::string>& args, int timeout_ms);
// Starts it in the background; end it with WaitExit or Kill.
pid_t StartWine(const std::string& folder, const std::string& program,
                const std::vector<std::string>& args);
// The same, its standard output going to `out_path`.
pid_t StartWineLogged(const std::string& folder, const std::string& program,
                      const std::vector<std::string>& args, const std::string& out_path);
// The exit code, or -1 when it has not ended within `timeout_ms`.
int WaitExit(pid_t pid, int timeout_ms);
void Kill(pid_t pid);

// Ends every program of the session and starts the next ones on a virtual
// desktop named "shell", which has a taskbar with a notification area (on),
// or on the plain session the other tests use (off).
void UseShellDesktop(bool on);
// A real mouse click on the display, left (1) or right (3) button.
void ClickAt(int x, int y, int button);

// The user's Startup folder in the prefix, as a Unix path.
std::string StartupFolder();
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
