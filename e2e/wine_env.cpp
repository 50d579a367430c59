#include "e2e/wine_env.h"

#include "e2e/helper_client.h"

#include <fcntl.h>
#include <pwd.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

namespace e2e {

namespace {

namespace fs = std::filesystem;

const std::string kRoot = NOCTURO_E2E_ROOT;

// What scripts/wine-env.sh exported for the session.
std::string Session(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

// Where each program this test started wrote its standard error: Wine's own
// word when it could not start or run one, which a failed test then shows.
std::mutex g_errors_lock;
std::vector<std::pair<std::string, std::string>> g_errors;  // program, file
std::vector<std::string> g_wine_broke;                        // this test's marks
bool g_crashed = false;                                       // and whether a program crashed
std::map<pid_t, std::string> g_started;                       // program of each pid

std::string ErrorsFile(const std::string& program) {
  static std::atomic<int> files{0};
  std::string path = kRoot + "/runs/.err-" + std::to_string(getpid()) + "-" + std::to_string(files++);
  std::lock_guard<std::mutex> hold(g_errors_lock);
  g_errors.emplace_back(program, path);
  return path;
}

}  // namespace

std::string PackageDir() { return Session("WIN_BUILD") + "/package"; }
std::string ToolsDir() { return Session("WIN_BUILD") + "/e2e-tools"; }

std::string NewFolder(const std::string& name) {
  std::string folder = kRoot + "/runs/" + name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

std::string InstallFolder(const std::string& name, const std::vector<std::string>& files) {
  std::string folder = NewFolder(name);
  for (const std::string& file : files) {
    bool program = file.size() > 4 && file.compare(file.size() - 4, 4, ".exe") == 0;
    CopyFile((program ? PackageDir() : std::string(NOCTURO_SOURCE_DIR) + "/dist") + "/" + file, folder + "/" + file);
  }
  return folder;
}

void CopyFile(const std::string& from, const std::string& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void PlantStandIn(const std::string& folder, const std::string& image) {
  CopyFile(ToolsDir() + "/stand_in.exe", folder + "/" + image);
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

bool Sign(const std::string& in, const std::string& out, const std::string& certificate) {
  static const std::string certs = [] {
    std::string folder = NewFolder("certificates");
    std::system(("bash '" NOCTURO_SOURCE_DIR "/tests/throwaway_certificates.sh' '" + folder + "'").c_str());
    return folder;
  }();
  return std::system(("osslsigncode sign -pkcs12 '" + certs + "/" + certificate + ".pfx' -readpass '" + certs +
                      "/password' -h sha256 -in '" + in + "' -out '" + out + "' >/dev/null").c_str()) == 0;
}

std::string ReadLines(const std::string& path) {
  std::string text = ReadFile(path);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

bool Exists(const std::string& path) { return fs::exists(path); }

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

long long NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch()).count();
}

pid_t StartWine(const std::string& folder, const std::string& program, const std::vector<std::string>& args,
                const std::string& out_path, const std::string& err_path) {
  int out = out_path.empty() ? -1 : open(out_path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  int err = open((err_path.empty() ? ErrorsFile(program) : err_path).c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  pid_t pid = fork();
  if (pid < 0) ADD_FAILURE() << "no process for " << program << ": " << strerror(errno);
  if (pid == 0) {
    setpgid(0, 0);  // so a kill reaches the wine loader and what it started
    if (chdir(folder.c_str()) != 0) _exit(127);
    int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(out >= 0 ? out : null, 1);
    dup2(err >= 0 ? err : null, 2);
    std::string loader = Session("WINELOADER");
    std::vector<char*> argv = {const_cast<char*>(loader.c_str()), const_cast<char*>(program.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(loader.c_str(), argv.data());
    _exit(127);
  }
  if (out >= 0) close(out);
  if (err >= 0) close(err);
  std::lock_guard<std::mutex> hold(g_errors_lock);
  g_started[pid] = program;
  return pid;
}

pid_t StartStandIn(const std::string& folder_name, const std::string& image) {
  std::string folder = NewFolder(folder_name);
  PlantStandIn(folder, image);
  pid_t pid = StartWine(folder, folder + "/" + image, {});
  EXPECT_TRUE(Eventually([&] { return Exists(folder + "/" + image + ".started"); }, 20000)) << image << " did not start";
  return pid;
}

// The suite's programs end with 0 or 1; any other end is Wine's.
static void CheckEnd(pid_t pid, int status) {
  std::string program;
  {
    std::lock_guard<std::mutex> hold(g_errors_lock);
    program = g_started[pid];
    g_started.erase(pid);
  }
  std::string image = program.substr(program.find_last_of("/\\") + 1);
  bool ours = image == "nocturo.exe" || image == "panelblank.exe" || image == "nocturotray.exe" ||
              image == "nocturodaemon.exe" || image == "panelprobe.exe";
  if (ours && !(WIFEXITED(status) && WEXITSTATUS(status) <= 1))
    NoteWineBroke(program + " ended with " +
                  (WIFEXITED(status) ? std::to_string(WEXITSTATUS(status)) : "signal " + std::to_string(WTERMSIG(status))));
}

int WaitExit(pid_t pid, int timeout_ms) {
  if (pid <= 0) return -1;  // no process: waitpid(-1) would take any child's end for its
  int status = 0;
  for (int waited = 0;; waited += 20) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) CheckEnd(pid, status);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0 || waited >= timeout_ms) return -1;
    SleepMs(20);
  }
}

void Kill(pid_t pid) {
  if (pid <= 0) return;  // kill(-1) would end every process there is
  kill(-pid, SIGKILL);
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

Program::~Program() {
  if (pid_ > 0) Kill(pid_);
}

Program& Program::operator=(Program&& other) {
  if (pid_ > 0) Kill(pid_);
  pid_ = other.pid_;
  other.pid_ = -1;
  return *this;
}

int Program::WaitExit(int timeout_ms) {
  int code = pid_ > 0 ? e2e::WaitExit(pid_, timeout_ms) : -1;
  if (code != -1) pid_ = -1;
  return code;
}

namespace {

std::string Journal() { return kRoot + "/undo-journal"; }

// True when it is undone: a file moved back (or no longer there to move), a
// command that ended with 0.
bool UndoLine(const std::string& line) {
  if (line.rfind("move\t", 0) == 0) {
    size_t tab = line.find('\t', 5);
    std::error_code failed;
    fs::rename(line.substr(5, tab - 5), line.substr(tab + 1), failed);
    return !failed || !fs::exists(line.substr(5, tab - 5));
  }
  return line.rfind("run\t", 0) == 0 && std::system(line.substr(4).c_str()) == 0;
}

// The journal without `line` once, or without every line `undone` says is undone.
void Rewrite(const std::function<bool(const std::string&)>& undone) {
  std::string kept, line;
  for (std::ifstream in(Journal()); std::getline(in, line);)
    if (!undone(line)) kept += line + "\n";
  if (kept.empty()) std::remove(Journal().c_str());
  else WriteFile(Journal(), kept);
}

}  // namespace

Undo::Undo(std::string line) : line_(std::move(line)) {
  std::ofstream(Journal(), std::ios::app) << line_ << "\n";
}

Undo Undo::MoveAside(const std::string& path) {
  fs::rename(path, path + ".aside");
  return Undo("move\t" + path + ".aside\t" + path);
}

Undo Undo::Run(const std::string& command) { return Undo("run\t" + command); }

// A clean-up that fails stays in the journal for the next test's start, and
// fails this test, which needed it.
Undo::~Undo() {
  if (line_.empty()) return;
  if (!UndoLine(line_)) {
    ADD_FAILURE() << "clean-up failed, tried again before the next test: " << line_;
    return;
  }
  bool dropped = false;
  Rewrite([&](const std::string& line) { return !dropped && line == line_ && (dropped = true); });
}

void NoteWineBroke(const std::string& what) {
  std::cout << "[ wine     ] " << what << "\n";
  std::lock_guard<std::mutex> hold(g_errors_lock);
  g_wine_broke.push_back(what);
}

void ShowWineErrors(bool failed) {
  std::lock_guard<std::mutex> hold(g_errors_lock);
  for (const auto& [program, path] : g_errors) {
    std::string text = ReadLines(path);
    if (failed && !text.empty()) std::cout << "[ stderr   ] " << program << ":\n" << text << "\n";
    std::istringstream lines(text);
    // A program's own crash is a fault of its own, whatever else Wine did; of
    // Wine's other words only a failure to load or run is a mark (not, say,
    // its note that the Z: drive has no volume serial).
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("wine: Unhandled", 0) == 0) g_crashed = true;
      if (line.rfind("wine: ", 0) != 0) continue;
      for (const char* failed : {"could not", "cannot", "failed to", "unimplemented function"})
        if (line.find(failed) != std::string::npos) {
          g_wine_broke.push_back(program + ": " + line);
          break;
        }
    }
    std::remove(path.c_str());
  }
  g_errors.clear();
}

namespace {

// One line for each failed test, and for each passed one that bore Wine's
// marks, into the file the session script reads: the verdict ("wine" for a
// failure with marks and no crash, "failed" else, "passed" with marks), the test's full
// name, where it first failed, and the marks.
void Report(const ::testing::TestInfo& test) {
  std::lock_guard<std::mutex> hold(g_errors_lock);
  const ::testing::TestResult& result = *test.result();
  std::string marks, where;
  for (const std::string& mark : g_wine_broke) marks += (marks.empty() ? "" : " | ") + mark;
  g_wine_broke.clear();
  for (int i = 0; i < result.total_part_count() && where.empty(); ++i)
    if (result.GetTestPartResult(i).failed())
      where = std::string(result.GetTestPartResult(i).file_name() ? result.GetTestPartResult(i).file_name() : "?") +
              ":" + std::to_string(result.GetTestPartResult(i).line_number());
  const char* file = getenv("NOCTURO_E2E_REPORT");
  if (!file || (!result.Failed() && marks.empty())) return;
  std::replace(marks.begin(), marks.end(), '\n', ' ');
  std::replace(marks.begin(), marks.end(), '\t', ' ');
  const char* verdict = !result.Failed() ? "passed" : marks.empty() || g_crashed ? "failed" : "wine";
  g_crashed = false;
  std::ofstream(file, std::ios::app) << verdict << "\t" << test.test_suite_name() << "." << test.name() << "\t"
                                     << (where.empty() ? "-" : where) << "\t" << marks << "\n";
}

}  // namespace

void StartClean() {
  Rewrite([](const std::string& line) {
    if (UndoLine(line)) return true;
    ADD_FAILURE() << "a clean-up from before still fails: " << line;
    return false;
  });
  if (!EndAll("nocturotray.exe,nocturodaemon.exe,nocturo.exe,panelblank.exe,panelprobe.exe"))
    ADD_FAILURE() << "the suite's programs from before could not be looked for, nor ended";
}

Result RunWine(const std::string& folder, const std::string& program,
               const std::vector<std::string>& args, int timeout_ms) {
  static std::atomic<int> runs{0};  // one file a run: a test may run two at once
  std::string out_path = kRoot + "/runs/.out-" + std::to_string(getpid()) + "-" + std::to_string(runs++);
  std::string err_path = ErrorsFile(program);
  pid_t pid = StartWine(folder, program, args, out_path, err_path);
  Result result;
  result.code = WaitExit(pid, timeout_ms);
  if (result.code == -1) Kill(pid);
  result.output = ReadLines(out_path);
  result.errors = ReadLines(err_path);
  unlink(out_path.c_str());
  return result;
}

void UseShellDesktop(bool on) {
  std::string script = std::string(NOCTURO_SOURCE_DIR) + "/scripts/wine-env.sh";
  std::system(("bash -c 'source \"$0\" && wine_shell_desktop \"$1\"' '" + script + (on ? "' on" : "' off")).c_str());
}

void ClickAt(int x, int y, int button) {
  std::system(("xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) + " click " +
               std::to_string(button)).c_str());
}

std::string StartupFolder() {
  const passwd* user = getpwuid(getuid());
  return Session("WINEPREFIX") + "/drive_c/users/" + (user ? user->pw_name : "root") +
         "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/StartUp";
}

std::string CommonStartupFolder() {
  return Session("WINEPREFIX") + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp";
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
  std::filesystem::create_directories(e2e::kRoot + "/runs");
  // Each test starts with none of the suite's programs running and the prefix as it was.
  struct CleanStart : ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { e2e::StartClean(); }
    void OnTestEnd(const ::testing::TestInfo& test) override {
      e2e::ShowWineErrors(test.result()->Failed());
      e2e::Report(test);
    }
  };
  ::testing::UnitTest::GetInstance()->listeners().Append(new CleanStart);
  int status = RUN_ALL_TESTS();
  // Only a program that ran to here has reported every failure.
  if (const char* file = getenv("NOCTURO_E2E_REPORT")) std::ofstream(file, std::ios::app) << "ended\t" << status << "\n";
  return status;
}
