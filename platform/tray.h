// The notification-area icon.
#pragma once
#include "platform/types.h"

namespace platform {

// The fields of NOTIFYICONDATAA the programs fill; `size` goes to cbSize as given.
struct NotifyIconRecord {
  uint32_t size;
  Handle window;
  uint32_t id;
  uint32_t flags;
  uint32_t callback_message;
  Handle icon;
  char tip[128];
};

int32_t Shell_NotifyIconA(uint32_t message, const NotifyIconRecord& record);

}  // namespace platform
