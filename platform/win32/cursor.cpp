// The cursor's position: the tray's one input call, apart from the blankers'
// hook and input block so that it imports neither.
#include "platform/input.h"
#include "platform/win32/win32.h"

namespace platform {

int32_t GetCursorPos(Point* point) {
  POINT p = {point->x, point->y};
  BOOL ok = ::GetCursorPos(&p);
  if (ok) {
    point->x = p.x;
    point->y = p.y;
  }
  return ok;
}

}  // namespace platform
