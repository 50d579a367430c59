// The hidden "RenderWindow" itself, narrow or wide, and its registration for
// the display state. The procedure is the caller's.
#include "common/display_state.h"

#include "platform/power.h"
#include "platform/threads.h"
#include "platform/window.h"

constexpr uint32_t kClassStyle = 0x0003;          // CS_VREDRAW | CS_HREDRAW
constexpr uint16_t kApplicationIconId = 32512;    // IDI_APPLICATION's value, looked up in our module
constexpr uint16_t kArrowCursorId = 32512;        // IDC_ARROW's value, likewise
constexpr uintptr_t kBackgroundBrush = 5;         // COLOR_WINDOW + 1
constexpr uint32_t kOverlappedWindow = 0x00CF0000;
constexpr int32_t kWindowWidth = 30;
constexpr int32_t kWindowHeight = 20;
constexpr uint32_t kDeviceNotifyWindowHandle = 0;
constexpr char16_t kWideClass[] = u"RenderWindow";

static platform::WindowClassFields ClassFields(platform::WindowProc proc) {
  platform::WindowClassFields fields = {};
  fields.style = kClassStyle;
  fields.proc = proc;
  fields.instance = platform::GetModuleHandleA(nullptr);
  fields.icon_id = kApplicationIconId;
  fields.cursor_id = kArrowCursorId;
  fields.background = kBackgroundBrush;
  fields.class_name = kDisplayStateClass;
  fields.wide_class_name = kWideClass;
  return fields;
}

static platform::WindowFields WindowFields() {
  platform::WindowFields fields = {};
  fields.class_name = kDisplayStateClass;
  fields.wide_class_name = kWideClass;
  fields.style = kOverlappedWindow;
  fields.width = kWindowWidth;
  fields.height = kWindowHeight;
  fields.instance = platform::GetModuleHandleA(nullptr);
  return fields;
}

platform::Handle CreateDisplayStateWindowA(const char* title, platform::WindowProc proc) {
  platform::RegisterClassA(ClassFields(proc));
  platform::WindowFields fields = WindowFields();
  fields.title = title;
  return platform::CreateWindowExA(fields);
}

platform::Handle CreateDisplayStateWindowWide(const char16_t* title, platform::WindowProc proc) {
  platform::RegisterClassW(ClassFields(proc));
  platform::WindowFields fields = WindowFields();
  fields.wide_title = title;
  return platform::CreateWindowExW(fields);
}

platform::Handle RegisterDisplayState(platform::Handle window) {
  return platform::RegisterPowerSettingNotification(window, kGuidConsoleDisplayState,
                                                    kDeviceNotifyWindowHandle);
}
