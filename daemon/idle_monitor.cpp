#include "daemon/idle_monitor.h"

#include "common/command_lines.h"
#include "common/cursor_activity.h"
#include "common/display_state.h"
#include "common/process_names.h"
#include "common/same_publisher.h"
#include "common/shell_command.h"
#include "platform/input.h"
#include "platform/processes.h"
#include "platform/screen.h"
#include "platform/threads.h"
#include "platform/win_values.h"

constexpr uint32_t kTickMs = 10000;

int32_t IdleTick(IdleMonitor* m, const TickReadings& now, PixelReader read_pixel) {
  // Taken every tick, so the input that moved the cursor is not counted again.
  const bool input = now.last_input != m->LastInput;
  m->LastInput = now.last_input;
  // A session nobody sits at (another user's, switched away, or remote) is
  // never idle: its cursor stands still while someone works at the screen,
  // and coming back to it must not blank or sleep at once.
  const bool moved = CursorMoved(now.cursor, m->LastCursor, m->ScreenWidth, m->ScreenHeight);
  if (moved || input || !now.at_console) {
    if (moved || !now.at_console) m->LastCursor = now.cursor;
    m->IdleTicks = 0;
    m->SleepTicks = 0;
    return 0;
  }
  if (m->pixel_test) {
    uint32_t pixel = read_pixel(*m);
    if (pixel != m->LastPixel) {
      // One change (a video, a slide show) postpones the blanker; two in a
      // row postpone the sleep as well.
      m->LastPixel = pixel;
      m->IdleTicks = 0;
      if (++m->PixelChanges == 2) {
        m->SleepTicks = 0;
        m->PixelChanges = 0;
      }
      return 0;
    }
    m->PixelChanges = 0;
  }
  int32_t actions = 0;
  if (now.display_on == 1) {
    // Started again every IdleLimit ticks while the display stays on, in case
    // the last start did not take.
    if (++m->IdleTicks == m->IdleLimit) {
      m->IdleTicks = 0;
      actions |= kStartBlankerNow;
    }
  } else {
    m->IdleTicks = 0;
  }
  if (m->SleepAction != 0 && m->SleepLimit >= 1 && ++m->SleepTicks == m->SleepLimit) {
    m->IdleTicks = 0;
    m->SleepTicks = 0;
    actions |= kSleepActionNow;
  }
  return actions;
}

static uint32_t ReadCentrePixel(const IdleMonitor& m) {
  return platform::GetPixel(m.screen, m.CentrePoint.x, m.CentrePoint.y);
}

// The blankers go first, by name and again by taskkill, so the machine does
// not wake into one. Sleep is reached through rundll32 with hibernation
// switched off first, since SetSuspendState would hibernate otherwise.
static void RunSleepAction(int32_t sleep_action) {
  TerminateProcessesByName(kBlankerImage);
  TerminateProcessesByName(kTrayBlankerImage);
  ShellCommand(kEndBlanker, false);
  ShellCommand(kEndTrayBlanker, false);
  ShellCommand(sleep_action == 1 ? kSleepNow : kHibernateNow, false);
}

void RunIdleMonitor(bool pixel_test, int32_t sleep_action, int32_t idle_limit, int32_t sleep_limit) {
  IdleMonitor m = {};
  m.pixel_test = pixel_test;
  m.SleepAction = sleep_action;
  m.IdleLimit = idle_limit;
  m.SleepLimit = sleep_limit;
  platform::GetCursorPos(&m.LastCursor);
  m.screen = platform::GetDC(nullptr);
  m.ScreenWidth = platform::GetDeviceCaps(m.screen, platform::kDesktopHorzRes);
  m.ScreenHeight = platform::GetDeviceCaps(m.screen, platform::kDesktopVertRes);
  m.CentrePoint = {static_cast<int32_t>(m.ScreenWidth * 0.5), static_cast<int32_t>(m.ScreenHeight * 0.5)};
  m.LastPixel = ReadCentrePixel(m);
  platform::GetLastInputInfo(&m.LastInput);
  // Unknown, our session counts as the one at the screen, as it did before sessions mattered.
  uint32_t own_session = 0;
  const bool session_known =
      platform::ProcessIdToSessionId(platform::GetCurrentProcessId(), &own_session) != 0;
  TickReadings now = {m.LastCursor, m.LastInput, true, 1};  // a failed read leaves the last value
  for (;;) {
    platform::Sleep(kTickMs);
    platform::GetCursorPos(&now.cursor);
    platform::GetLastInputInfo(&now.last_input);
    now.at_console = !session_known || platform::WTSGetActiveConsoleSessionId() == own_session;
    now.display_on = DisplayOn.load();
    int32_t actions = IdleTick(&m, now, ReadCentrePixel);
    if ((actions & kStartBlankerNow) && SiblingOfOurPublisher(kBlankerImage)) ShellCommand(kStartBlanker, false);
    if (actions & kSleepActionNow) RunSleepAction(m.SleepAction);
  }
}
