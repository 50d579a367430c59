#include "e2e/wine_env.h"

#include <fcntl.h>
#include <pwd.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

const std::string kRoot = NOCTURO_E2E_ROOT;

int Shell(const std::string& command) { return std::system(command.c_str()); }

// The shipped programs are 32-bit. Where this machine's kernel cannot execute
// 32-bit code, Wine's 32-bit loader cannot start, and the tests run the same
// sources built for 64-bit Windows under the 64-bit loader instead.
struct Flavour {
  std::string loader;
  std::string arch;
  std::string build_dir;
};

const Flavour& Chosen() {
  // NOCTURO_WINE_ARCH=win64 runs the 64-bit twin here too, to prove both builds.
  const char* forced = getenv("NOCTURO_WINE_ARCH");
  static const Flavour flavour =
      (!forced || std::string(forced) != "win64") &&
              Shell("/usr/lib/wine/wine --version >/dev/null 2>&1") == 0
          ? Flavour{"/usr/lib/wine/wine", "win32", NOCTURO_WIN32_DIR}
          : Flavour{"/usr/lib/wine/wine64", "win64", NOCTURO_WIN64_DIR};
  return flavour;
}

class WineSession : public ::testing::Environment {
 public:
  void SetUp() override {
    Shell("mkdir -p '" + std::string(NOCTURO_WINE_ROOT) + "/wine-home' '" + kRoot + "/runs'");
    const Flavour& flavour = Chosen();
    std::cout << "[ wine     ] " << flavour.arch << " programs from " << flavour.build_dir << "\n";
    std::string prefix = std::string(NOCTURO_WINE_ROOT) + "/wine-" + flavour.arch;
    setenv("WINEARCH", flavour.arch.c_str(), 1);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINELOADER", flavour.loader.c_str(), 1);
    setenv("HOME", (std::string(NOCTURO_WINE_ROOT) + "/wine-home").c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    StartDisplay();
    if (!Exists(prefix + "/system.reg")) {
      ASSERT_EQ(Shell(flavour.loader + " wineboot -i >/dev/null 2>&1 && wineserver -w"), 0)
          << "wineboot failed";
    }
    Shell("wineserver -p");
    // Wine has no powercfg; the probe and the daemon run it by its full path.
    Shell("cp '" + ToolsDir() + "/print_args.exe' '" + prefix + "/drive_c/windows/system32/powercfg.exe'");
  }

  void TearDown() override {
    Shell("wineserver -k >/dev/null 2>&1");
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      waitpid(xvfb_, nullptr, 0);
    }
  }

 private:
  void StartDisplay() {
    // A display of our own, so a test never touches the user's desktop.
    for (int n = 90 + getpid() % 50;; ++n) {
      std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
      if (Exists(socket) || Exists("/tmp/.X" + std::to_string(n) + "-lock")) continue;
      std::string display = ":" + std::to_string(n);
      xvfb_ = fork();
      if (xvfb_ == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
      }
      setenv("DISPLAY", display.c_str(), 1);
      Eventually([&] { return Exists(socket); }, 10000);
      return;
    }
  }

  pid_t xvfb_ = -1;
};

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

void InstallWineSession() { ::testing::AddGlobalTestEnvironment(new WineSession); }

std::string PackageDir() { return Chosen().build_dir + "/package"; }
std::string ToolsDir() { return Chosen().build_dir + "/e2e-tools"; }

std::string NewFolder(const std::string& name) {
  std::string folder = kRoot + "/runs/" + name;
  Shell("rm -rf " + Quote(folder) + " && mkdir -p " + Quote(folder));
  return folder;
}

void CopyFile(const std::string& from, const std::string& to) {
  Shell("cp " + Quote(from) + " " + Quote(to));
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch()).count();
}

static pid_t Start(const std::string& folder, const std::string& program,
                   const std::vector<std::string>& args, int out_fd) {
  pid_t pid = fork();
  if (pid == 0) {
    setpgid(0, 0);  // so a kill reaches the wine loader and what it started
    if (chdir(folder.c_str()) != 0) _exit(127);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out_fd >= 0 ? out_fd : null, 1);
    dup2(null, 2);  // Wine writes noise to stderr even with WINEDEBUG=-all
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(Chosen().loader.c_str()));
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(Chosen().loader.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

pid_t StartWine(const std::string& folder, const std::string& program,
                const std::vector<std::string>& args) {
  return Start(folder, program, args, -1);
}

pid_t StartWineLogged(const std::string& folder, const std::string& program,
                      const std::vector<std::string>& args, const std::string& out_path) {
  int fd = open(out_path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  pid_t pid = Start(folder, program, args, fd);
  close(fd);
  return pid;
}

int WaitExit(pid_t pid, int timeout_ms) {
  int status = 0;
  for (int waited = 0;; waited += 20) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 || waited >= timeout_ms) return -1;
    SleepMs(20);
  }
}

void Kill(pid_t pid) {
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

Result RunWine(const std::string& folder, const std::string& program,
               const std::vector<std::string>& args, int timeout_ms) {
  std::string out_path = kRoot + "/runs/.out-" + std::to_string(getpid());
  int fd = open(out_path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  pid_t pid = Start(folder, program, args, fd);
  close(fd);
  Result result;
  result.code = WaitExit(pid, timeout_ms);
  if (result.code == -1) Kill(pid);
  // Console output comes in text mode; the tests compare lines.
  for (char c : ReadFile(out_path))
    if (c != '\r') result.output += c;
  unlink(out_path.c_str());
  return result;
}

Result Helper(const std::vector<std::string>& args, int timeout_ms) {
  return RunWine(ToolsDir(), ToolsDir() + "/nochelper.exe", args, timeout_ms);
}

bool ReportDisplay(const std::string& image, int state) {
  return Helper({"display-state", image, std::to_string(state)}).code == 0;
}

void EndAll(const std::string& image) {
  RunWine(ToolsDir(), ToolsDir() + "/proc_probe.exe", {"terminate", image}, 30000);
}

bool WindowExists(const std::string& window_class, const std::string& title, int timeout_ms) {
  return Helper({"wait-window", window_class, title, std::to_string(timeout_ms)}).code == 0;
}

void UseShellDesktop(bool on) {
  const std::string reg = Chosen().loader + " reg ";
  const std::string explorer = "'HKCU\\Software\\Wine\\Explorer'";
  const std::string desktops = "'HKCU\\Software\\Wine\\Explorer\\Desktops'";
  const std::string quiet = " /f >/dev/null 2>&1";
  // The desktop is chosen when a session's first program starts: a new session, then.
  Shell("wineserver -k >/dev/null 2>&1; wineserver -w");
  if (on)
    Shell(reg + "add " + explorer + " /v Desktop /d shell" + quiet + "; " + reg + "add " + desktops +
          " /v shell /d 1024x768" + quiet);
  else
    Shell(reg + "delete " + explorer + " /v Desktop" + quiet);
  Shell("wineserver -w; wineserver -p");
}

void ClickAt(int x, int y, int button) {
  Shell("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
        std::to_string(button));
}

std::string StartupFolder() {
  const passwd* user = getpwuid(getuid());
  return std::string(getenv("WINEPREFIX")) + "/drive_c/users/" + (user ? user->pw_name : "root") +
         "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp";
}

std::string WindowsPath(const std::string& unix_path) {
  std::string out = "Z:" + unix_path;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

}  // namespace e2e

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  e2e::InstallWineSession();
  return RUN_ALL_TESTS();
}
