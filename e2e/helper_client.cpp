#include "e2e/helper_client.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <vector>

#include "e2e/wine_env.h"

namespace e2e {

namespace {

// The helper answers 0 or 1, and writes on standard error only what a command
// it runs writes there; a verb that waits answers "no" only when its wait
// (`wait_ms`) is up. Anything else is Wine failing to run it, which a test
// would take for a plain "no".
Result Run(const std::vector<std::string>& args, int timeout_ms = 30000, int wait_ms = 0) {
  long long start = NowMs();
  Result r = RunWine(ToolsDir(), ToolsDir() + "/nochelper.exe", args, timeout_ms);
  long long waited = NowMs() - start;
  if (r.code != 0 && (r.code != 1 || !r.errors.empty()))
    NoteWineBroke("helper " + args[0] + " ended with " + std::to_string(r.code) + "; Wine wrote: " + r.errors);
  else if (r.code == 1 && waited < wait_ms)
    NoteWineBroke("helper " + args[0] + " answered no after " + std::to_string(waited) + " ms of " +
                  std::to_string(wait_ms));
  return r;
}

// The helper's key=value lines.
std::map<std::string, std::string> Values(const Result& r) {
  std::map<std::string, std::string> values;
  std::istringstream in(r.output);
  for (std::string line; std::getline(in, line);) {
    size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return values;
}

int Number(const std::map<std::string, std::string>& values, const char* key) {
  auto found = values.find(key);
  return found == values.end() ? -1 : std::atoi(found->second.c_str());
}

std::string Text(long long value) { return std::to_string(value); }

}  // namespace

bool WaitProcess(const std::string& image, bool appear, int timeout_ms) {
  return Run({"wait-process", image, appear ? "appear" : "vanish", Text(timeout_ms)}, timeout_ms + 30000, timeout_ms)
             .code == 0;
}

int CountProcess(const std::string& image) { return Number(Values(Run({"count-process", image})), "count"); }

bool EndAll(const std::string& images) { return Run({"end-process", images}).code == 0; }

bool NoTrayRuns() {
  return WaitProcess("nocturotray.exe", false, 10000) &&
         Eventually([] { return !WindowExists("DOCKWIN", "dockwin", 0); }, 10000);
}

WindowInfo WaitWindow(const std::string& window_class, const std::string& title, int timeout_ms) {
  Result r = Run({"wait-window", window_class, title, Text(timeout_ms)}, timeout_ms + 30000, timeout_ms);
  auto v = Values(r);
  return {r.code == 0,           Number(v, "visible"),    Number(v, "width"), Number(v, "height"),
          Number(v, "min_width"), Number(v, "min_height"), Number(v, "x"),     Number(v, "y")};
}

bool WindowExists(const std::string& window_class, const std::string& title, int timeout_ms) {
  return WaitWindow(window_class, title, timeout_ms).found;
}

bool Post(const std::string& window_class, const std::string& title, uint32_t message, uintptr_t wparam,
          intptr_t lparam) {
  return Run({"post", window_class, title, Text(message), Text(wparam), Text(lparam)}).code == 0;
}

bool Send(const std::string& window_class, const std::string& title, uint32_t message, int timeout_ms) {
  return Run({"send", window_class, title, Text(message), "0", "0"}, timeout_ms).code == 0;
}

bool BroadcastRegistered(const std::string& name) { return Run({"broadcast-registered", name}).code == 0; }

bool Key(uint16_t virtual_key) { return Run({"key", Text(virtual_key)}).code == 0; }

bool Keys(const std::string& combination) { return Run({"key", combination}).code == 0; }

bool Move(int x, int y) { return Run({"move", Text(x), Text(y)}).code == 0; }

LinkInfo ReadLink(const std::string& path) {
  Result r = Run({"link", WindowsPath(path)});
  auto v = Values(r);
  return {r.code == 0, v["target"], v["workdir"]};
}

std::string WindowText(const std::string& window_class, int timeout_ms) {
  return Values(Run({"window-text", window_class, Text(timeout_ms)}, timeout_ms + 30000))["text"];
}

std::string ConsoleShows(const std::string& command, int ms) {
  Result r = Run({"console", command, Text(ms)}, ms + 30000);
  std::string lines;
  std::istringstream in(r.output);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("line=", 0) == 0) lines += line.substr(5) + "\n";
  return lines;
}

ProcessStats Stats(const std::string& image) {
  auto v = Values(Run({"proc-stats", image}));
  return {Number(v, "cpu_ms"), Number(v, "threads"), Number(v, "handles"), Number(v, "working_set_kb")};
}

bool ReportDisplay(const std::string& image, int state) {
  return Run({"display-state", image, Text(state)}).code == 0;
}

// A helper that stays, once its window is there.
static pid_t StartWithWindow(const std::vector<std::string>& args, const std::string& window) {
  pid_t pid = StartWine(ToolsDir(), ToolsDir() + "/nochelper.exe", args);
  WindowExists(window, window, 20000);
  return pid;
}

pid_t StartBroadcastWatch(const std::string& file, int ms) {
  return StartWithWindow({"watch-broadcasts", WindowsPath(file), Text(ms)}, "NocWatch");
}

pid_t StartHungWindow(int ms) { return StartWithWindow({"hung-window", Text(ms)}, "NocHung"); }

pid_t StartHotkeyHolder(uint32_t modifiers, uint32_t virtual_key, int ms) {
  return StartWithWindow({"hold-hotkey", Text(modifiers), Text(virtual_key), Text(ms)}, "NocHotkey");
}

std::string Region(int x, int y, int width, int height) {
  return Values(Run({"region", Text(x), Text(y), Text(width), Text(height)}))["checksum"];
}

int CodePage() { return Number(Values(Run({"code-page"})), "acp"); }

int ExitCode(const std::string& command_line, int timeout_ms) {
  return Number(Values(Run({"exit-code", command_line, Text(timeout_ms)}, timeout_ms + 30000)), "code");
}

bool RegisterTask(const std::string& name, const std::string& folder) {
  return Run({"task-register", name, folder}).code == 0;
}

std::string DeleteTask(const std::string& name) { return Values(Run({"task-delete", name}))["result"]; }

std::string DeleteTaskFolder() { return Values(Run({"task-folder-delete"}))["result"]; }

std::string AdminOnly(const std::string& folder, const std::string& table_path) {
  auto v = Values(Run({"admin-only", folder, WindowsPath(table_path)}));
  return v["answer"] + (v.count("unconverted") ? " (Windows could not convert " + v["unconverted"] + ")" : "");
}

bool ForgetIcon(const std::string& window_class, const std::string& title, uint32_t id) {
  return Run({"forget-icon", window_class, title, Text(id)}).code == 0;
}

}  // namespace e2e
