// The one place the seam's Win32 implementation includes Windows from.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601  // Windows 7: ChangeWindowMessageFilterEx
#endif
#include <windows.h>

#include "platform/types.h"

namespace platform {

inline HWND AsWindow(Handle h) { return static_cast<HWND>(h); }

}  // namespace platform
