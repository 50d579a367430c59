#include "daemon/idle_monitor.h"

#include "common/command_lines.h"
#include "common/cursor_activity.h"
#include "common/display_state.h"
#include "common/process_names.h"
#include "common/shell_command.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/threads.h"

constexpr uint32_t kTickMs = 10000;

int32_t IdleTick(IdleMonitor* m, platform::Point cursor, PixelReader read_pixel, int32_t display_on) {
  if (CursorMoved(cursor, m->LastCursor, m->ScreenWidth, m->ScreenHeight)) {
    m->LastCursor = cursor;
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
  if (display_on == 1) {
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
  m.ScreenWidth = platform::GetDeviceCaps(m.screen, kDesktopHorzRes);
  m.ScreenHeight = platform::GetDeviceCaps(m.screen, kDesktopVertRes);
  m.CentrePoint = {static_cast<int32_t>(m.ScreenWidth * 0.5), static_cast<int32_t>(m.ScreenHeight * 0.5)};
  m.LastPixel = ReadCentrePixel(m);
  platform::Point cursor = m.LastCursor;  // a failed read leaves the last one
  for (;;) {
    platform::Sleep(kTickMs);
    platform::GetCursorPos(&cursor);
    int32_t actions = IdleTick(&m, cursor, ReadCentrePixel, DisplayOn.load());
    if (actions & kStartBlankerNow) ShellCommand(kStartBlanker, false);
    if (actions & kSleepActionNow) RunSleepAction(m.SleepAction);
  }
}
