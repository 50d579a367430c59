#include "platform/window.h"

#include "platform/win32/window_class.h"

namespace platform {

uint16_t RegisterClassExA(const WindowClassFields& f) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  FillCommonFields(f, &wc);
  wc.hIcon = static_cast<HICON>(f.icon);
  wc.hIconSm = static_cast<HICON>(f.small_icon);
  wc.hCursor = static_cast<HCURSOR>(f.cursor);
  wc.lpszMenuName = f.menu_name;
  wc.lpszClassName = f.class_name;
  return ::RegisterClassExA(&wc);
}

Handle CreateWindowExA(const WindowFields& f) {
  return ::CreateWindowExA(f.ex_style, f.class_name, f.title, f.style, f.x, f.y, f.width, f.height,
                           AsWindow(f.parent), static_cast<HMENU>(f.menu),
                           static_cast<HINSTANCE>(f.instance), f.param);
}

int32_t ShowWindow(Handle window, int32_t command) { return ::ShowWindow(AsWindow(window), command); }

int32_t ChangeWindowMessageFilterEx(Handle window, uint32_t message, uint32_t action) {
  return ::ChangeWindowMessageFilterEx(AsWindow(window), message, action, nullptr);
}

}  // namespace platform
