// The display-state window's class, as the blankers and the daemon register it.
#include "platform/win32/window_class.h"

namespace platform {

uint16_t RegisterClassA(const WindowClassFields& f) {
  WNDCLASSA wc = {};
  FillCommonFields(f, &wc);
  wc.hIcon = ::LoadIconA(wc.hInstance, MAKEINTRESOURCEA(f.icon_id));
  wc.hCursor = ::LoadCursorA(wc.hInstance, MAKEINTRESOURCEA(f.cursor_id));
  wc.lpszMenuName = f.menu_name;
  wc.lpszClassName = f.class_name;
  return ::RegisterClassA(&wc);
}

}  // namespace platform
