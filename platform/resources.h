// Strings, icons and cursors from a module's resources.
#pragma once
#include "platform/types.h"

namespace platform {

int32_t LoadStringA(Handle instance, uint32_t id, char* buffer, int32_t size);
// A null instance gives the system's own icon or cursor of that id.
Handle LoadIconA(Handle instance, uint16_t id);
Handle LoadCursorA(Handle instance, uint16_t id);

}  // namespace platform
