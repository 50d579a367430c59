#include "probe/probe.h"

#include "common/display_state.h"
#include "common/message_loops.h"
#include "common/notice_texts.h"
#include "platform/console.h"
#include "platform/messages.h"
#include "platform/power.h"
#include "platform/window.h"

platform::Handle ProbeWindow = nullptr;

constexpr char kDetected[] = "检测到屏幕状态 success Nocturo普通版、锁屏版、增强版、辅助工具可以使用";
constexpr char kNotDetected[] =
    "未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版";
constexpr char kSleepCheck[] = "睡眠模式检测";
constexpr char kListSleepStates[] = "c:\\Windows\\System32\\powercfg /a";

static void WriteLine(const char* text) {
  platform::WriteOutput(text);
  platform::WriteOutput("\n");
  platform::FlushOutput();
}

// The report comes once, at the first notification; the procedure then
// returns like any other, so the window keeps answering the messages other
// programs send (a window that stops answering stalls every broadcast on the
// desktop, the blanker's display-off among them).
static bool g_reported = false;

static void WriteReport(bool reported_on) {
  WriteLine(kNoticeLine);
  WriteLine(kDownloadLine);
  WriteLine(kWakeHintLine);
  WriteLine(reported_on ? kDetected : kNotDetected);
  WriteLine("");
  WriteLine(kSleepCheck);
  platform::RunSystem(kListSleepStates);
}

intptr_t PLATFORM_CALLBACK ProbeWindowProc(platform::Handle window, uint32_t message,
                                           uintptr_t wparam, intptr_t lparam) {
  if (message == platform::kWmPowerBroadcast && wparam == platform::kPbtPowerSettingChange && !g_reported) {
    g_reported = true;
    // 0 off, 1 on, 2 dimmed.
    WriteReport(reinterpret_cast<const platform::PowerSetting*>(lparam)->data[0] != 0);
  }
  return platform::DefWindowProcW(window, message, wparam, lparam);
}

int ProbeMain() {
  ProbeWindow = CreateDisplayStateWindowWide(u"Nocturo", ProbeWindowProc);
  platform::Handle registration = RegisterDisplayState(ProbeWindow);
  RunRetrievingMessageLoopWide();
  platform::UnregisterPowerSettingNotification(registration);
  platform::CloseWindow(ProbeWindow);
  return 0;
}
