// Internals of the simulated Windows shared by its seam implementations.
#pragma once
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/sim/sim.h"
#include "platform/types.h"
#include "platform/window.h"

namespace sim {

enum class Wait { Running, Runnable, Sleep, Message, Forever, Done };

// Something handed to a thread's procedures while it waits for messages.
struct Delivery {
  bool is_key;
  platform::Handle window;
  uint32_t value;  // display state or virtual key
};

struct Thread {
  int id = 0;
  Wait wait = Wait::Runnable;
  int64_t deadline = 0;
  uint64_t seq = 0;
  const char* what = "";
  std::condition_variable cv;
  std::deque<Delivery> sent;
  std::deque<platform::Message> posted;
};

struct SimWindow {
  platform::Handle handle;
  std::string class_name;
  std::string title;
  platform::WindowProc proc;
  Thread* owner;
  int32_t width;
  int32_t height;
  bool destroyed;
};

struct MenuItem {
  uint32_t flags;
  uintptr_t item;  // command id, or the submenu's handle
  std::string text;
};

// A shell link object, or the IPersistFile of one.
struct ComObject {
  bool is_link;
  platform::Handle link;
  int refs;
  std::string target, directory;
};

using Lock = std::unique_lock<std::mutex>;

struct State {
  World world;
  int64_t until = 0;
  int trace_fd = -1;
  std::mutex mutex;
  std::vector<std::unique_ptr<Thread>> threads;
  std::deque<Thread*> runnable;
  Thread* current = nullptr;
  int64_t now = 0;
  uint64_t seq = 0;
  size_t next_event = 0;
  uintptr_t next_handle = 0x100;
  bool exiting = false;

  std::map<std::string, platform::WindowClassFields> classes;
  std::vector<SimWindow> windows;
  std::vector<platform::Handle> power_registrations;
  std::map<platform::Handle, platform::Guid> power_settings;  // what each window registered for
  platform::Handle hook = nullptr;
  platform::HookProc hook_proc = nullptr;
  Thread* hook_owner = nullptr;
  std::map<platform::Handle, std::vector<ProcessRow>> snapshots;
  std::map<platform::Handle, size_t> snapshot_pos;
  std::map<platform::Handle, uint32_t> process_handles;

  std::map<std::string, uint32_t> registered_messages;
  std::map<platform::Handle, std::string> resources;  // loaded icons and cursors, by what they are
  std::map<platform::Handle, std::vector<MenuItem>> menus;
  std::map<platform::Handle, ComObject> com_objects;
  size_t next_menu_choice = 0;
  int com_inits = 0;
  int threads_started = 0;
  int output_fd = -1;
};

State& S();
Thread* Self();

Lock Enter();
bool Failing(const char* call);
platform::Handle NewHandle();
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Baton passing. The caller holds the lock and has set its own wait.
void SwitchAway(Lock& lock);
void SleepFor(Lock& lock, int64_t ms, const char* what);
void MakeRunnable(Thread* thread);
Thread* AddThread();
void StartOn(Thread* thread);  // in a new real thread: wait for the baton

// Posts to a thread's queue, waking it if it waits for messages.
void Queue(Thread* thread, const platform::Message& message);
// Fired by the scheduler when virtual time reaches an event.
void Fire(const Event& event);
SimWindow* FindWindow(platform::Handle handle);
// The window's title for the trace, or its handle when it is no window.
std::string WindowName(platform::Handle handle);
std::string GuidText(const platform::Guid& g);
// A path of the program's mapped onto the run's folder.
std::string HostPath(const char* path);
std::string HostPath(const char16_t* path);
// Between encodings, with iconv's names for them; false when `in` is not in `from`.
bool Recode(const std::string& in, const char* to, const char* from, std::string* out);
// Wide texts of the seam as the trace and the host's files hold them, and back.
std::string Utf8(const char16_t* text);
std::u16string Utf16(const std::string& utf8);
// Copies as the path calls do: the length, or the size needed when it does not fit.
uint32_t GiveText(const std::u16string& text, char16_t* buffer, uint32_t size);
// Whether `path` begins with `folder`, letter case ignored.
bool StartsWith(const std::string& path, const std::string& folder);

[[noreturn]] void EndChild(int status);

constexpr int kStatusTimeUp = 251;
constexpr int kStatusDeadlock = 252;
constexpr int kStatusDoubleExit = 249;

}  // namespace sim
