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

// `from` whole into `to` (`size` characters): its length, or 0 when it does not fit.
inline uint32_t CopyWide(const wchar_t* from, char16_t* to, uint32_t size) {
  uint32_t length = 0;
  while (from[length]) length++;
  if (length >= size) return 0;
  for (uint32_t i = 0; i <= length; ++i) to[i] = static_cast<char16_t>(from[i]);
  return length;
}

}  // namespace platform
