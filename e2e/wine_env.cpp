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

// What scripts/wine-env.sh exported for the session.
std::string Session(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

}  // namespace

std::string PackageDir() { return Session("WIN_BUILD") + "/package"; }
std::string ToolsDir() { return Session("WIN_BUILD") + "/e2e-tools"; }

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
    std::string loader = Session("WINELOADER");
    argv.push_back(const_cast<char*>(loader.c_str()));
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(loader.c_str(), argv.data());
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

void UseShellDesktop(bool on) {
  Shell("bash -c 'source \"$0\" && wine_shell_desktop \"$1\"' " + Quote(std::string(NOCTURO_SOURCE_DIR) +
        "/scripts/wine-env.sh") + (on ? " on" : " off"));
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
  if (e2e::Session("WIN_BUILD").empty()) {
    std::cerr << "Run it in the Wine session: scripts/in-wine-session.sh " << argv[0] << "\n";
    return 2;
  }
  std::cout << "[ wine     ] " << e2e::Session("WINEARCH") << " programs from " << e2e::Session("WIN_BUILD") << "\n";
  e2e::Shell("mkdir -p '" + e2e::kRoot + "/runs'");
  return RUN_ALL_TESTS();
}
