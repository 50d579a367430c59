// The idle monitor: every ten seconds, was the user active? After the idle
// limit with the display on it starts the blanker; after the sleep limit it
// ends the blankers and sleeps or hibernates the machine.
#pragma once
#include <cstdint>

#include "platform/types.h"

constexpr int32_t kTicksPerMinute = 6;

struct IdleMonitor {
  // Fixed at preparation.
  bool pixel_test;
  int32_t SleepAction;  // 0 none, 1 sleep, 2 hibernate
  int32_t IdleLimit;    // ticks
  int32_t SleepLimit;   // ticks; below 1 switches the sleep step off
  int32_t ScreenWidth, ScreenHeight;
  platform::Point CentrePoint;
  platform::Handle screen;  // the screen's device context, kept for good
  // Counted from tick to tick.
  int32_t IdleTicks, SleepTicks, PixelChanges;
  platform::Point LastCursor;
  uint32_t LastPixel;
};

// What a tick asks for; both can come in the same tick, the blanker first.
constexpr int32_t kStartBlankerNow = 1;
constexpr int32_t kSleepActionNow = 2;

// Reads the centre pixel; called only when a tick tests it.
using PixelReader = uint32_t (*)(const IdleMonitor& monitor);

int32_t IdleTick(IdleMonitor* monitor, platform::Point cursor, PixelReader read_pixel,
                 int32_t display_on);

// Takes the cursor, the screen and its centre pixel, then ticks for ever.
[[noreturn]] void RunIdleMonitor(bool pixel_test, int32_t sleep_action, int32_t idle_limit,
                                 int32_t sleep_limit);
