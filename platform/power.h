// Power-setting registrations: the display-state notifications.
#pragma once
#include "platform/types.h"

namespace platform {

Handle RegisterPowerSettingNotification(Handle recipient, const Guid& setting, uint32_t flags);
int32_t UnregisterPowerSettingNotification(Handle registration);

}  // namespace platform
