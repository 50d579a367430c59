#include "platform/resources.h"

#include "platform/win32/win32.h"

namespace platform {

int32_t LoadStringA(Handle instance, uint32_t id, char* buffer, int32_t size) {
  return ::LoadStringA(static_cast<HINSTANCE>(instance), id, buffer, size);
}

Handle LoadIconA(Handle instance, uint16_t id) {
  return ::LoadIconA(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(id));
}

Handle LoadCursorA(Handle instance, uint16_t id) {
  return ::LoadCursorA(static_cast<HINSTANCE>(instance), MAKEINTRESOURCEA(id));
}

}  // namespace platform
