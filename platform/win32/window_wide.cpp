// The probe's window, the one made with the wide calls.
#include "platform/win32/window_class.h"

namespace platform {

uint16_t RegisterClassW(const WindowClassFields& f) {
  WNDCLASSW wc = {};
  FillCommonFields(f, &wc);
  wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(f.icon_id));
  wc.hCursor = ::LoadCursorW(wc.hInstance, MAKEINTRESOURCEW(f.cursor_id));
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(f.wide_class_name);
  return ::RegisterClassW(&wc);
}

Handle CreateWindowExW(const WindowFields& f) {
  return ::CreateWindowExW(f.ex_style, reinterpret_cast<LPCWSTR>(f.wide_class_name),
                           reinterpret_cast<LPCWSTR>(f.wide_title), f.style, f.x, f.y, f.width,
                           f.height, AsWindow(f.parent), static_cast<HMENU>(f.menu),
                           static_cast<HINSTANCE>(f.instance), f.param);
}

int32_t CloseWindow(Handle window) { return ::CloseWindow(AsWindow(window)); }

}  // namespace platform
