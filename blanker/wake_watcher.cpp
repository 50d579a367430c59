// The watcher: banner, graphics hotkey helper, lock, arming, then polls the
// cursor and the display state until the user is back.
#include <initializer_list>

#include "blanker/blanker.h"
#include "common/command_lines.h"
#include "common/cursor_activity.h"
#include "common/display_state.h"
#include "common/texts.h"
#include "common/settings.h"
#include "common/shell_command.h"
#include "common/text_buffer.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/threads.h"
#include "platform/win_values.h"

constexpr uint32_t kPrepareMs = 1000;
constexpr uint32_t kLockAfterMs = 2500;
constexpr uint32_t kArmAfterMs = 1000;
constexpr uint32_t kDisplayWaitStepMs = 500;
constexpr uint32_t kLockScreenPollMs = 1000;
constexpr uint32_t kPollMs = 3000;
constexpr uint32_t kReblankDelayMs = 2000;

bool BuildBanner(char* out, unsigned size, const char* first_segment) {
  TextBuffer banner;
  ClearText(&banner);
  AppendText(&banner, first_segment);
  for (const char* line : {kNoticeLine, kDownloadLine, kWakeHintLine}) {
    AppendText(&banner, " && echo ");
    AppendText(&banner, line);
  }
  AppendText(&banner, " && c:\\Windows\\System32\\ping 127.0.0.1 -n 3 >nul && cls");
  if (banner.overflow || banner.length >= size) return false;
  for (unsigned i = 0; i <= banner.length; ++i) out[i] = banner.text[i];
  return true;
}

void* WakeWatcher(void*) {
  char banner[kMaxPath];
  if (BuildBanner(banner, sizeof banner, Variant->banner_first)) ShellCommandText(banner, true);
  ShellCommand(kEndGraphicsHotkey, false);
  platform::Sleep(kPrepareMs);
  int32_t mode = BlankMode.load();
  if (mode == kModeLockScreen) {
    platform::Sleep(kLockAfterMs);
    ShellCommand(kLockWorkstation, false);
  }
  platform::Sleep(kArmAfterMs);
  WakeArmed.store(1);

  platform::Point current = {0, 0};
  platform::GetCursorPos(&current);
  const platform::Point baseline = current;
  platform::Handle dc = platform::GetDC(nullptr);
  const int32_t width = platform::GetDeviceCaps(dc, platform::kDesktopHorzRes);
  const int32_t height = platform::GetDeviceCaps(dc, platform::kDesktopVertRes);
  platform::ReleaseDC(nullptr, dc);

  if (mode == kModeLockScreen) {
    platform::Sleep(kDisplayWaitStepMs);
    while (DisplayOn.load() != 0) platform::Sleep(kDisplayWaitStepMs);
  }
  for (;;) {
    platform::Sleep(mode == kModeLockScreen ? kLockScreenPollMs : kPollMs);
    platform::GetCursorPos(&current);
    if (CursorMoved(current, baseline, width, height)) ExitBlanker();
    if (mode != kModeNormal && DisplayOn.load() == 1) {
      if (mode == kModeLockScreen) ExitBlanker();
      platform::Sleep(kReblankDelayMs);
      platform::StartThread(MonitorOffSender);
    }
  }
}
