#include "platform/screen.h"

#include "platform/win32/win32.h"

namespace platform {

Handle GetDC(Handle window) { return ::GetDC(AsWindow(window)); }

int32_t GetDeviceCaps(Handle dc, int32_t index) { return ::GetDeviceCaps(static_cast<HDC>(dc), index); }

int32_t ReleaseDC(Handle window, Handle dc) { return ::ReleaseDC(AsWindow(window), static_cast<HDC>(dc)); }

uint32_t GetPixel(Handle dc, int32_t x, int32_t y) { return ::GetPixel(static_cast<HDC>(dc), x, y); }

}  // namespace platform
