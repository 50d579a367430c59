// The notification-area icon.
#pragma once
#include "platform/types.h"

namespace platform {

// The fields of the notification-icon record the programs fill. `size` is the
// narrow record's cbSize; the wide call gets the wide record of that layout.
// The tooltip is a GBK text (platform/text.h).
struct NotifyIconRecord {
  uint32_t size;
  Handle window;
  uint32_t id;
  uint32_t flags;
  uint32_t callback_message;
  Handle icon;
  char tip[128];
  // A balloon, with NIF_INFO: its title, its text and its NIIF_ icon.
  char info_title[64];
  char info[256];
  uint32_t info_flags;
};

int32_t NotifyIcon(uint32_t message, const NotifyIconRecord& record);

}  // namespace platform
