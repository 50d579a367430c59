#include "platform/power.h"

#include "platform/win32/win32.h"

namespace platform {

static_assert(sizeof(Guid) == sizeof(GUID), "Guid mirrors GUID");

Handle RegisterPowerSettingNotification(Handle recipient, const Guid& setting, uint32_t flags) {
  GUID guid;
  CopyMemory(&guid, &setting, sizeof guid);
  return ::RegisterPowerSettingNotification(recipient, &guid, flags);
}

int32_t UnregisterPowerSettingNotification(Handle registration) {
  return ::UnregisterPowerSettingNotification(static_cast<HPOWERNOTIFY>(registration));
}

}  // namespace platform
