#include "platform/tray.h"

#include "platform/win32/win32.h"

#include <shellapi.h>

namespace platform {

#if !defined(_WIN64)
// The tray passes 508, the narrow record's size in this layout; the 64-bit
// test build passes its own layout's size instead.
static_assert(sizeof(NOTIFYICONDATAA) == 508, "the narrow record of the 32-bit layout");
#endif

int32_t Shell_NotifyIconA(uint32_t message, const NotifyIconRecord& r) {
  NOTIFYICONDATAA data = {};
  data.cbSize = r.size;
  data.hWnd = AsWindow(r.window);
  data.uID = r.id;
  data.uFlags = r.flags;
  data.uCallbackMessage = r.callback_message;
  data.hIcon = static_cast<HICON>(r.icon);
  static_assert(sizeof data.szTip == sizeof r.tip, "the tooltip buffers match");
  CopyMemory(data.szTip, r.tip, sizeof data.szTip);
  return ::Shell_NotifyIconA(message, &data);
}

}  // namespace platform
