#include "blanker/blanker.h"

#include "common/display_state.h"
#include "common/message_loops.h"
#include "common/process_names.h"
#include "common/settings.h"
#include "common/shell_command.h"
#include "platform/input.h"
#include "platform/messages.h"
#include "platform/threads.h"
#include "platform/win_values.h"

std::atomic<int32_t> BlankMode{kModeNormal};
std::atomic<platform::Handle> KeyboardHook{nullptr};
std::atomic<int32_t> WakeArmed{0};
const BlankerVariant* Variant = nullptr;  // set first thing by BlankerMain

using platform::kHwndBroadcast, platform::kInfinite, platform::kScMonitorPower,
    platform::kSmtoAbortIfHung, platform::kWhKeyboardLl, platform::kWmSysCommand;
constexpr intptr_t kMonitorOff = 2;
// A window that has not retrieved messages for a while (a hung program) is
// skipped at once; any other gets at most a second to answer. Answering is
// all DefWindowProc's few milliseconds, so a window slower than that is as
// good as hung, and without a bound one such window would keep the display on.
constexpr uint32_t kPerWindowTimeoutMs = 1000;
constexpr uint32_t kMonitorOffDelayMs = 4000;
constexpr uint32_t kLockScreenExtraDelayMs = 2000;  // after the lock at 3500 ms
constexpr uint32_t kExitDelayMs = 500;

static std::atomic<int32_t> g_exit_entered{0};
static std::atomic<int32_t> g_hook_exit_started{0};

int BlankerMain(const BlankerVariant& variant) {
  Variant = &variant;
  DisplayOn.store(0);
  SearchCommandsInTheSystemOnly();
  platform::BlockInput(1);
  if (variant.tray_required && FindProcessIdByName(kTrayImage, ProcessScope::Session) == 0) return 0;
  BlankMode.store(ClampBlankMode(ReadSetting(variant.settings_file, "type")));
  platform::StartThread(MonitorOffStarter);
  platform::StartThread(WakeWatcher);
  KeyboardHook.store(platform::SetWindowsHookExA(kWhKeyboardLl, KeyboardHookProc,
                                                 platform::GetModuleHandleA(nullptr), 0));
  RegisterDisplayState(CreateDisplayStateWindow(kBlankerWindowTitle));
  RunTranslatingMessageLoop();
  return 0;
}

void* MonitorOffStarter(void*) {
  platform::Sleep(kMonitorOffDelayMs);
  if (BlankMode.load() == kModeLockScreen) platform::Sleep(kLockScreenExtraDelayMs);
  platform::StartThread(MonitorOffSender);
  return nullptr;
}

// On a thread of its own: the broadcast visits every top-level window in turn.
void* MonitorOffSender(void*) {
  platform::SendMessageTimeoutA(reinterpret_cast<platform::Handle>(kHwndBroadcast), kWmSysCommand,
                                kScMonitorPower, kMonitorOff, kSmtoAbortIfHung, kPerWindowTimeoutMs);
  return nullptr;
}

static void* ExitBlankerThread(void*) { ExitBlanker(); }

// Windows drops a low-level hook that takes longer than LowLevelHooksTimeout,
// and the waking key would then reach the program underneath. So the hook only
// starts the exit on a thread of its own and keeps swallowing keys until then.
// Where no thread can be had, ending here beats ignoring the user's key.
intptr_t PLATFORM_CALLBACK KeyboardHookProc(int32_t, uintptr_t, intptr_t) {
  if (WakeArmed.load() == 1 && g_hook_exit_started.exchange(1) == 0) {
    if (platform::StartThread(ExitBlankerThread) != 0) ExitBlanker();
  }
  return 1;
}

void ExitBlanker() {
  // exit from two threads at once is undefined: the second caller waits for the first.
  if (g_exit_entered.exchange(1) != 0) {
    for (;;) platform::Sleep(kInfinite);
  }
  platform::Sleep(kExitDelayMs);
  platform::UnhookWindowsHookEx(KeyboardHook.load());
  KeyboardHook.store(nullptr);
  platform::Exit(0);
}
