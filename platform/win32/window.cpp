#include "platform/window.h"

#include "platform/win32/win32.h"

namespace platform {

// The fields the narrow and wide class structures share.
template <typename Class>
static void FillCommonFields(const WindowClassFields& f, Class* wc) {
  wc->style = f.style;
  wc->lpfnWndProc = reinterpret_cast<WNDPROC>(f.proc);
  wc->cbClsExtra = f.class_extra;
  wc->cbWndExtra = f.window_extra;
  wc->hInstance = static_cast<HINSTANCE>(f.instance);
  wc->hbrBackground = reinterpret_cast<HBRUSH>(f.background);
}

uint16_t RegisterClassA(const WindowClassFields& f) {
  WNDCLASSA wc = {};
  FillCommonFields(f, &wc);
  wc.hIcon = ::LoadIconA(wc.hInstance, MAKEINTRESOURCEA(f.icon_id));
  wc.hCursor = ::LoadCursorA(wc.hInstance, MAKEINTRESOURCEA(f.cursor_id));
  wc.lpszMenuName = f.menu_name;
  wc.lpszClassName = f.class_name;
  return ::RegisterClassA(&wc);
}

uint16_t RegisterClassW(const WindowClassFields& f) {
  WNDCLASSW wc = {};
  FillCommonFields(f, &wc);
  wc.hIcon = ::LoadIconW(wc.hInstance, MAKEINTRESOURCEW(f.icon_id));
  wc.hCursor = ::LoadCursorW(wc.hInstance, MAKEINTRESOURCEW(f.cursor_id));
  wc.lpszClassName = reinterpret_cast<LPCWSTR>(f.wide_class_name);
  return ::RegisterClassW(&wc);
}

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

Handle CreateWindowExW(const WindowFields& f) {
  return ::CreateWindowExW(f.ex_style, reinterpret_cast<LPCWSTR>(f.wide_class_name),
                           reinterpret_cast<LPCWSTR>(f.wide_title), f.style, f.x, f.y, f.width,
                           f.height, AsWindow(f.parent), static_cast<HMENU>(f.menu),
                           static_cast<HINSTANCE>(f.instance), f.param);
}

int32_t ShowWindow(Handle window, int32_t command) { return ::ShowWindow(AsWindow(window), command); }

int32_t CloseWindow(Handle window) { return ::CloseWindow(AsWindow(window)); }

int32_t ChangeWindowMessageFilterEx(Handle window, uint32_t message, uint32_t action) {
  return ::ChangeWindowMessageFilterEx(AsWindow(window), message, action, nullptr);
}

}  // namespace platform
