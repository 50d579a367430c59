#include "common/display_state.h"

#include "common/message_loops.h"
#include "platform/messages.h"

std::atomic<int32_t> DisplayOn{0};

intptr_t PLATFORM_CALLBACK DisplayStateWindowProc(platform::Handle window, uint32_t message,
                                                  uintptr_t wparam, intptr_t lparam) {
  if (message == platform::kWmPowerBroadcast && wparam == platform::kPbtPowerSettingChange) {
    const platform::PowerSetting* setting = reinterpret_cast<const platform::PowerSetting*>(lparam);
    // 0 off, 1 on, 2 dimmed: dimmed counts as on.
    DisplayOn.store(setting->data[0] != 0 ? 1 : 0);
  }
  return platform::DefWindowProcA(window, message, wparam, lparam);
}

platform::Handle CreateDisplayStateWindow(const char* title) {
  return CreateDisplayStateWindowA(title, DisplayStateWindowProc);
}

void* DisplayStatePumpThread(void*) {
  RegisterDisplayState(CreateDisplayStateWindow(kDaemonWindowTitle));
  RunRetrievingMessageLoop();
  return nullptr;
}
