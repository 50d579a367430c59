// One tick of the idle monitor: what resets what, and what it asks for.
#include <gtest/gtest.h>

#include "daemon/idle_monitor.h"

namespace {

uint32_t g_screen_colour = 0x10;
int g_pixel_reads = 0;

uint32_t ReadPixel(const IdleMonitor&) {
  g_pixel_reads++;
  return g_screen_colour;
}

IdleMonitor Monitor(int32_t idle, int32_t sleep, int32_t changes) {
  IdleMonitor m = {};
  m.pixel_test = true;
  m.SleepAction = 1;
  m.IdleLimit = 6;
  m.SleepLimit = 12;
  m.ScreenWidth = 1920;
  m.ScreenHeight = 1080;
  m.LastCursor = {100, 100};
  m.LastPixel = 0x10;
  m.LastInput = 7;
  m.IdleTicks = idle;
  m.SleepTicks = sleep;
  m.PixelChanges = changes;
  return m;
}

TEST(IdleTick, EachEventResetsWhatItShouldAndNothingElse) {
  struct Row {
    const char* what;
    IdleMonitor before;
    platform::Point cursor;
    uint32_t colour;
    int32_t display_on;
    int32_t idle, sleep, changes;
    platform::Point last_cursor;
    int pixel_reads;
    int32_t actions;
    uint32_t last_input = 7;  // unchanged unless a row says
    bool at_console = true;
  };
  IdleMonitor no_sleep_limit = Monitor(3, 5, 0), no_sleep_action = Monitor(3, 5, 0),
              no_pixel_test = Monitor(3, 5, 0);
  no_sleep_limit.SleepLimit = -999 * 6;
  no_sleep_action.SleepAction = 0;
  no_pixel_test.pixel_test = false;
  const Row rows[] = {
      {"cursor moved, the input time with it", Monitor(3, 5, 1), {101, 100}, 0x20, 1, 0, 0, 1, {101, 100}, 0, 0,
       8},
      {"a key at both limits", Monitor(5, 11, 1), {100, 100}, 0x20, 1, 0, 0, 1, {100, 100}, 0, 0, 8},
      {"a key with the cursor beyond the width", Monitor(3, 5, 0), {1921, 100}, 0x10, 1, 0, 0, 0, {100, 100},
       0, 0, 8},
      {"another session at the screen, at both limits", Monitor(5, 11, 1), {100, 100}, 0x20, 1, 0, 0, 1,
       {100, 100}, 0, 0, 7, false},
      {"cursor at the width", Monitor(3, 5, 0), {1920, 100}, 0x10, 1, 0, 0, 0, {1920, 100}, 0, 0},
      {"cursor at a negative x", Monitor(3, 5, 0), {-5, 100}, 0x10, 1, 0, 0, 0, {-5, 100}, 0, 0},
      {"cursor beyond the width", Monitor(3, 5, 0), {1921, 100}, 0x10, 1, 4, 6, 0, {100, 100}, 1, 0},
      {"cursor beyond the height", Monitor(3, 5, 0), {100, 1081}, 0x10, 1, 4, 6, 0, {100, 100}, 1, 0},
      {"first pixel change", Monitor(3, 5, 0), {100, 100}, 0x20, 1, 0, 5, 1, {100, 100}, 1, 0},
      {"second pixel change in a row", Monitor(3, 5, 1), {100, 100}, 0x20, 1, 0, 0, 0, {100, 100}, 1, 0},
      {"pixel still after a change", Monitor(3, 5, 1), {100, 100}, 0x10, 1, 4, 6, 0, {100, 100}, 1, 0},
      {"display off", Monitor(3, 5, 0), {100, 100}, 0x10, 0, 0, 6, 0, {100, 100}, 1, 0},
      {"idle limit", Monitor(5, 5, 0), {100, 100}, 0x10, 1, 0, 6, 0, {100, 100}, 1, kStartBlankerNow},
      {"sleep limit", Monitor(3, 11, 0), {100, 100}, 0x10, 0, 0, 0, 0, {100, 100}, 1, kSleepActionNow},
      {"both limits", Monitor(5, 11, 0), {100, 100}, 0x10, 1, 0, 0, 0, {100, 100}, 1,
       kStartBlankerNow | kSleepActionNow},
      {"sleep step off by its limit", no_sleep_limit, {100, 100}, 0x10, 1, 4, 5, 0, {100, 100}, 1, 0},
      {"sleep step off by its action", no_sleep_action, {100, 100}, 0x10, 1, 4, 5, 0, {100, 100}, 1, 0},
      {"pixel test off", no_pixel_test, {100, 100}, 0x20, 1, 4, 6, 0, {100, 100}, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    IdleMonitor m = row.before;
    g_screen_colour = row.colour;
    g_pixel_reads = 0;
    EXPECT_EQ(IdleTick(&m, {row.cursor, row.last_input, row.at_console, row.display_on}, ReadPixel),
              row.actions);
    EXPECT_EQ(m.LastInput, row.last_input);
    EXPECT_EQ(m.IdleTicks, row.idle);
    EXPECT_EQ(m.SleepTicks, row.sleep);
    EXPECT_EQ(m.PixelChanges, row.changes);
    EXPECT_EQ(m.LastCursor.x, row.last_cursor.x);
    EXPECT_EQ(m.LastCursor.y, row.last_cursor.y);
    EXPECT_EQ(g_pixel_reads, row.pixel_reads);
    EXPECT_EQ(m.LastPixel, row.pixel_reads ? row.colour : 0x10u);
  }
}

}  // namespace
