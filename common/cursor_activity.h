// Whether the user is back, as the blanker and the daemon judge it from the cursor.
#pragma once
#include <cstdint>

#include "platform/types.h"

// A coordinate that changed and is not beyond the desktop's extent. Beyond it
// (say on a second monitor to the right) never counts; a negative one does.
bool CursorMoved(platform::Point now, platform::Point before, int32_t width, int32_t height);
