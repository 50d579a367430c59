#include "common/cursor_activity.h"

bool CursorMoved(platform::Point now, platform::Point before, int32_t width, int32_t height) {
  if (now.x != before.x && now.x <= width) return true;
  if (now.y != before.y && now.y <= height) return true;
  return false;
}
