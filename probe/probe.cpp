#include "probe/probe.h"

#include "common/display_state.h"
#include "common/text_buffer.h"
#include "common/texts.h"
#include "platform/console.h"
#include "platform/messages.h"
#include "platform/power.h"
#include "platform/shell.h"
#include "platform/window.h"

platform::Handle ProbeWindow = nullptr;


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
  // powercfg from Windows' own system folder (a 32-bit probe on 64-bit
  // Windows reaches it as Sysnative), no command interpreter (nor the AutoRun
  // it would run, elevated when the probe is) between. One that crashed after
  // its report still gave it: the line is for one that said nothing.
  PathBuffer powercfg;
  ClearText(&powercfg);
  if (!TakeWritten(&powercfg, platform::NativeSystemFolder(powercfg.text, kMaxPath)) ||
      !AppendText(&powercfg, u"\\powercfg.exe") || platform::RunPassingOutput(powercfg.text, u"powercfg.exe /a") <= 0)
    WriteLine(kNoSleepStates);
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
  // Retrieving only: the notification reaches the procedure from inside GetMessageW.
  platform::Message message;
  while (platform::GetMessageW(&message, nullptr, 0, 0) != 0) {
  }
  platform::UnregisterPowerSettingNotification(registration);
  platform::CloseWindow(ProbeWindow);
  return 0;
}
