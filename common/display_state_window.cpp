// The hidden "RenderWindow" itself, narrow or wide, and its registration for
// the display state. The procedure is the caller's.
#include "common/display_state.h"

#include "platform/power.h"
#include "platform/threads.h"
#include "platform/window.h"

using platform::kColorMenu, platform::kCsHRedrawVRedraw, platform::kDeviceNotifyWindowHandle,
    platform::kGuidConsoleDisplayState, platform::kIdcArrow, platform::kIdiApplication,
    platform::kWsOverlappedWindow;
// IDI_APPLICATION's and IDC_ARROW's values, looked up in our own module.
constexpr uint16_t kApplicationIconId = kIdiApplication;
constexpr uint16_t kArrowCursorId = kIdcArrow;
constexpr uintptr_t kBackgroundBrush = kColorMenu + 1;
constexpr int32_t kWindowWidth = 30;
constexpr int32_t kWindowHeight = 20;
constexpr char16_t kWideClass[] = u"RenderWindow";

static platform::WindowClassFields ClassFields(platform::WindowProc proc) {
  platform::WindowClassFields fields = {};
  fields.style = kCsHRedrawVRedraw;
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
  fields.style = kWsOverlappedWindow;
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
