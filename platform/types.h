// Plain values that cross the platform seam. No Windows types here.
#pragma once
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define PLATFORM_CALLBACK __stdcall
#else
#define PLATFORM_CALLBACK
#endif

namespace platform {

using Handle = void*;  // window, hook, snapshot, process, device context, registration

// The value Windows returns for a failed snapshot or file open.
inline Handle InvalidHandle() { return reinterpret_cast<Handle>(static_cast<intptr_t>(-1)); }

struct Point {
  int32_t x;
  int32_t y;
};

// Same layout as MSG.
struct Message {
  Handle window;
  uint32_t id;
  uintptr_t wparam;
  intptr_t lparam;
  uint32_t time;
  Point pt;
};

// Same layout as GUID.
struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

// Same layout as POWERBROADCAST_SETTING: the notification data follows the length.
struct PowerSetting {
  Guid setting;
  uint32_t data_length;
  uint8_t data[4];
};

using WindowProc = intptr_t(PLATFORM_CALLBACK*)(Handle window, uint32_t message, uintptr_t wparam,
                                                intptr_t lparam);
using HookProc = intptr_t(PLATFORM_CALLBACK*)(int32_t code, uintptr_t wparam, intptr_t lparam);
using ThreadProc = void* (*)(void*);

}  // namespace platform
