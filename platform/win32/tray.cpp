#include "platform/tray.h"

#include "platform/text.h"
#include "platform/win32/win32.h"

#include <shellapi.h>

namespace platform {

#if !defined(_WIN64)
// The tray passes 508, the narrow record's size in this layout; the 64-bit
// test build passes its own layout's size instead.
static_assert(sizeof(NOTIFYICONDATAA) == 508, "the narrow record of the 32-bit layout");
#endif

// The wide record of the layout the narrow size names: the whole of it for
// the narrow record's whole size, as no other is ever passed.
int32_t NotifyIcon(uint32_t message, const NotifyIconRecord& r) {
  NOTIFYICONDATAW data = {};
  data.cbSize = r.size == sizeof(NOTIFYICONDATAA) ? sizeof data : r.size;
  data.hWnd = AsWindow(r.window);
  data.uID = r.id;
  data.uFlags = r.flags;
  data.uCallbackMessage = r.callback_message;
  data.hIcon = static_cast<HICON>(r.icon);
  static_assert(sizeof data.szTip / sizeof data.szTip[0] == sizeof r.tip, "the tooltip buffers match");
  static_assert(sizeof data.szInfo / sizeof data.szInfo[0] == sizeof r.info, "the balloon buffers match");
  static_assert(sizeof data.szInfoTitle / sizeof data.szInfoTitle[0] == sizeof r.info_title, "");
  WidenText(r.tip, reinterpret_cast<char16_t*>(data.szTip), sizeof r.tip);
  WidenText(r.info, reinterpret_cast<char16_t*>(data.szInfo), sizeof r.info);
  WidenText(r.info_title, reinterpret_cast<char16_t*>(data.szInfoTitle), sizeof r.info_title);
  data.dwInfoFlags = r.info_flags;
  return ::Shell_NotifyIconW(message, &data);
}

}  // namespace platform
