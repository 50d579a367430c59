// The idle monitor: every ten seconds, was the user active (the cursor, any
// input, the centre pixel)? After the idle limit with the display on it starts
// the blanker; after the sleep limit it ends the blankers and sleeps or
// hibernates the machine. Only while its session is the one at the screen.
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
  uint32_t LastInput;  // the session's last input time, as the last tick read it
};

// What a tick reads of the world, besides the centre pixel.
struct TickReadings {
  platform::Point cursor;
  uint32_t last_input;  // time of the session's last keyboard or mouse input
  bool at_console;      // our session is the one at the physical screen
  int32_t display_on;
};

// What a tick asks for; both can come in the same tick, the blanker first.
constexpr int32_t kStartBlankerNow = 1;
constexpr int32_t kSleepActionNow = 2;

// Reads the centre pixel; called only when a tick tests it.
using PixelReader = uint32_t (*)(const IdleMonitor& monitor);

int32_t IdleTick(IdleMonitor* monitor, const TickReadings& now, PixelReader read_pixel);

// Takes the cursor, the screen and its centre pixel, then ticks for ever.
[[noreturn]] void RunIdleMonitor(bool pixel_test, int32_t sleep_action, int32_t idle_limit,
                                 int32_t sleep_limit);
