// The parent's side of a run: a fresh working directory, one forked child,
// a wall-clock guard, and the trace read back.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "platform/sim/state.h"

namespace sim {

void SetSelf(Thread* thread);

World& World::File(const std::string& path, const std::string& contents) {
  files.emplace_back(path, contents);
  return *this;
}

World& World::Process(const std::string& name, uint32_t pid, uint32_t session) {
  processes.push_back({pid ? pid : static_cast<uint32_t>(2000 + 4 * processes.size()), name, session});
  return *this;
}

World& World::CursorAt(int64_t at, int32_t x, int32_t y) {
  cursor.push_back({at, x, y});
  return *this;
}

World& World::PixelAt(int64_t at, uint32_t colour) {
  pixels.push_back({at, colour});
  return *this;
}

World& World::InputAt(int64_t at) {
  input.push_back(at);
  return *this;
}

World& World::ConsoleAt(int64_t at, uint32_t session) {
  console.emplace_back(at, session);
  return *this;
}

World& World::Display(int64_t at, uint32_t state) {
  events.push_back({at, EventKind::DisplayState, state, 0, 0, "", ""});
  return *this;
}

World& World::Key(int64_t at, uint32_t virtual_key) {
  events.push_back({at, EventKind::Key, virtual_key, 0, 0, "", ""});
  return *this;
}

World& World::Post(int64_t at, uint32_t message, uintptr_t wparam, intptr_t lparam,
                   const std::string& window) {
  events.push_back({at, EventKind::Post, message, wparam, lparam, window, ""});
  return *this;
}

World& World::FileAt(int64_t at, const std::string& path, const std::string& contents) {
  events.push_back({at, EventKind::File, 0, 0, 0, path, contents});
  return *this;
}

World& World::Fail(const std::string& call) {
  failures.insert(call);
  return *this;
}

const char* EndName(End end) {
  switch (end) {
    case End::Exit: return "exit";
    case End::TimeUp: return "time up";
    case End::Deadlock: return "deadlock";
    case End::Crash: return "crash";
    case End::Hang: return "simulator hang";
  }
  return "?";
}

std::string Hex(uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%04X", value);
  return text;
}

int64_t Run::First(const std::string& needle) const {
  for (const TraceLine& line : lines)
    if (line.text.find(needle) != std::string::npos) return line.at;
  return -1;
}

int Run::Count(const std::string& needle) const {
  return static_cast<int>(Times(needle).size());
}

std::vector<int64_t> Run::Times(const std::string& needle) const {
  std::vector<int64_t> times;
  for (const TraceLine& line : lines)
    if (line.text.find(needle) != std::string::npos) times.push_back(line.at);
  return times;
}

// The programs' texts are GBK; a failure message is read on a UTF-8 terminal.
// A line that holds a wide text (UTF-8 already) is shown as it is.
static std::string Readable(const std::string& gbk) {
  std::string utf8;
  return Recode(gbk, "UTF-8", "GBK", &utf8) ? utf8 : gbk;
}

std::string Run::Text() const {
  std::string text = std::string("run ended: ") + EndName(end) + ", code " +
                     std::to_string(exit_code) + "\n";
  for (const TraceLine& line : lines)
    text += std::to_string(line.at) + " t" + std::to_string(line.thread) + " " + Readable(line.text) + "\n";
  return text;
}

std::string Run::FileBytes(const std::string& path) const {
  auto found = files.find(path);
  return found == files.end() ? "" : found->second;
}

static std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// What the program left in its working directory, kept before the folder goes.
static std::map<std::string, std::string> Collect(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    if (entry.is_regular_file())
      files[std::filesystem::relative(entry.path(), dir).generic_string()] = ReadBytes(entry.path());
  return files;
}

[[noreturn]] static void Child(Entry entry, const World& world, int64_t until, int trace_fd,
                               int output_fd, const std::string& dir) {
  if (chdir(dir.c_str()) != 0) _exit(253);
  State& s = S();
  s.world = world;
  bool listed = false;  // a test may place the program itself in the table
  for (const ProcessRow& row : world.processes) listed = listed || row.pid == world.self_pid;
  if (!listed) s.world.processes.insert(s.world.processes.begin(), {world.self_pid, world.image_name});
  std::stable_sort(s.world.events.begin(), s.world.events.end(),
                   [](const Event& a, const Event& b) { return a.at < b.at; });
  s.until = until;
  s.trace_fd = trace_fd;
  s.output_fd = output_fd;
  Thread* main = AddThread();
  main->wait = Wait::Running;
  s.current = main;
  SetSelf(main);
  int code = entry();
  Lock lock = Enter();
  Trace("exit %d", code);
  EndChild(code & 0xff);
}

static std::vector<TraceLine> ReadTrace(const std::string& path) {
  std::vector<TraceLine> lines;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    TraceLine t = {0, 0, ""};
    size_t space = line.find(' ');
    size_t second = line.find(' ', space + 1);
    if (space == std::string::npos || second == std::string::npos) continue;
    t.at = std::atoll(line.substr(0, space).c_str());
    t.thread = std::atoi(line.substr(space + 2, second - space - 2).c_str());
    t.text = line.substr(second + 1);
    lines.push_back(t);
  }
  return lines;
}

Run RunProgram(Entry entry, const World& world, int64_t until_ms) {
  Run run;
  char root_template[] = "/tmp/nocturo-sim-XXXXXX";
  std::string root = mkdtemp(root_template);
  std::string work_dir = root + "/work";
  mkdir(work_dir.c_str(), 0755);
  mkdir((work_dir + "/Startup").c_str(), 0755);
  mkdir((work_dir + "/CommonStartup").c_str(), 0755);
  mkdir((work_dir + "/System32").c_str(), 0755);
  mkdir((work_dir + "/Tasks").c_str(), 0755);
  for (const auto& file : world.files) {
    std::filesystem::create_directories(std::filesystem::path(work_dir + "/" + file.first).parent_path());
    std::ofstream out(work_dir + "/" + file.first, std::ios::binary);
    out << file.second;
  }
  std::string trace_path = root + "/trace";
  std::string output_path = root + "/stdout";
  int fd = open(trace_path.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_APPEND, 0644);
  int output_fd = open(output_path.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_APPEND, 0644);
  std::fflush(nullptr);
  pid_t pid = fork();
  if (pid == 0) Child(entry, world, until_ms, fd, output_fd, work_dir);
  close(fd);
  close(output_fd);

  int status = 0;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool hung = false;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      hung = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  run.lines = ReadTrace(trace_path);
  run.output = ReadBytes(output_path);
  run.files = Collect(work_dir);
  std::filesystem::remove_all(root);
  if (!run.lines.empty()) run.ended_at = run.lines.back().at;
  std::string last = run.lines.empty() ? "" : run.lines.back().text;
  if (hung) {
    run.end = End::Hang;
  } else if (!WIFEXITED(status)) {
    run.end = End::Crash;
  } else if (WEXITSTATUS(status) == kStatusTimeUp && last == "end of run") {
    run.end = End::TimeUp;
  } else if (WEXITSTATUS(status) == kStatusDeadlock && last.rfind("deadlock", 0) == 0) {
    run.end = End::Deadlock;
  } else if (last.rfind("exit ", 0) == 0 && last.find("again") == std::string::npos) {
    run.end = End::Exit;
    run.exit_code = std::atoi(last.c_str() + 5);
  }
  return run;
}

}  // namespace sim
