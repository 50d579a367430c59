// The screen device context.
#pragma once
#include "platform/types.h"

namespace platform {

Handle GetDC(Handle window);
int32_t GetDeviceCaps(Handle dc, int32_t index);
int32_t ReleaseDC(Handle window, Handle dc);
uint32_t GetPixel(Handle dc, int32_t x, int32_t y);

}  // namespace platform
