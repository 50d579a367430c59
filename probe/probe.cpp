#include "probe/probe.h"

#include "common/display_state.h"
#include "common/message_loops.h"
#include "common/notice_texts.h"
#include "platform/console.h"
#include "platform/messages.h"
#include "platform/power.h"
#include "platform/threads.h"
#include "platform/window.h"

platform::Handle ProbeWindow = nullptr;

constexpr char kDetected[] = "检测到屏幕状态 success Nocturo普通版、锁屏版、增强版、辅助工具可以使用";
constexpr char kNotDetected[] =
    "未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版";
constexpr char kSleepCheck[] = "睡眠模式检测";
constexpr char kListSleepStates[] = "c:\\Windows\\System32\\powercfg /a";
constexpr uint32_t kHoldStepMs = 5000;

static void WriteLine(const char* text) {
  platform::WriteOutput(text);
  platform::WriteOutput("\n");
  platform::FlushOutput();
}

intptr_t PLATFORM_CALLBACK ProbeWindowProc(platform::Handle window, uint32_t message,
                                           uintptr_t wparam, intptr_t lparam) {
  if (message == kWmPowerBroadcast && wparam == kPbtPowerSettingChange) {
    // 0 off, 1 on, 2 dimmed.
    const bool reported_on = reinterpret_cast<const platform::PowerSetting*>(lparam)->data[0] != 0;
    WriteLine(kNoticeLine);
    WriteLine(kDownloadLine);
    WriteLine(kWakeHintLine);
    WriteLine(reported_on ? kDetected : kNotDetected);
    WriteLine("");
    WriteLine(kSleepCheck);
    platform::RunSystem(kListSleepStates);
    // The report stays on screen until the user closes the console; nothing
    // after the first notification is handled.
    for (;;) platform::Sleep(kHoldStepMs);
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
