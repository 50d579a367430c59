// The display-state watcher: its window, its procedure and its loops.
#include <gtest/gtest.h>

#include "common/display_state.h"
#include "common/message_loops.h"
#include "platform/messages.h"
#include "platform/sim/sim.h"
#include "platform/threads.h"

namespace {

int BlankerWatcher() {
  RegisterDisplayState(CreateDisplayStateWindow(kBlankerWindowTitle));
  RunTranslatingMessageLoop();
  sim::Note("loop ended, DisplayOn %d", DisplayOn.load());
  return 0;
}

TEST(DisplayState, WindowHasTheFixedClassAndWindowFields) {
  sim::Run r = sim::RunProgram(BlankerWatcher, sim::World().Post(100, 0x0012), 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("RegisterClassA \"RenderWindow\" style 3 extra 0,0 instance 0x400000 icon 32512 "
                    "cursor 32512 brush 5 menu none"), 1);
  EXPECT_EQ(r.Count("CreateWindowExA ex 0 \"RenderWindow\" \"Nocturo\" style 00CF0000 at 0,0 "
                    "size 30x20 parent (nil) menu (nil) instance 0x400000"), 1);
  EXPECT_EQ(r.Count("RegisterPowerSettingNotification \"Nocturo\" "
                    "{6FE69556-704A-47A0-8F24-C28D936FDA47} 0"), 1);
  EXPECT_EQ(r.Count("ShowWindow"), 0) << "the window is never shown";
}

TEST(DisplayState, EachNotificationSetsDisplayOnAndAQuitEndsTheLoop) {
  struct Row {
    uint32_t state;
    int expected;
  };
  const Row rows[] = {{0, 0}, {1, 1}, {2, 1}, {0, 0}, {2, 1}};
  sim::World world;
  for (size_t i = 0; i < 5; ++i) world.Display(100 * (i + 1), rows[i].state);
  world.Post(1000, 0x0012);
  sim::Run r = sim::RunProgram(BlankerWatcher, world, 5000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("WM_POWERBROADCAST"), 5);
  EXPECT_EQ(r.First("note loop ended, DisplayOn 1"), 1000) << "dimmed (2) counts as on";
}

TEST(DisplayState, WithoutNotificationsTheBlankersValueAtLoadStays) {
  sim::Run r = sim::RunProgram(BlankerWatcher, sim::World().Post(9000, 0x0012), 10000);
  EXPECT_EQ(r.First("note loop ended, DisplayOn 0"), 9000) << r.Text();
}

int CallProcDirectly() {
  platform::PowerSetting setting = {};
  setting.data_length = 4;
  setting.data[0] = 0;
  DisplayOn.store(1);
  intptr_t other = DisplayStateWindowProc(nullptr, platform::kWmPowerBroadcast, 0x0004,
                                          reinterpret_cast<intptr_t>(&setting));
  sim::Note("other wparam: DisplayOn %d result %lX", DisplayOn.load(), static_cast<long>(other));
  intptr_t change = DisplayStateWindowProc(nullptr, platform::kWmPowerBroadcast, platform::kPbtPowerSettingChange,
                                           reinterpret_cast<intptr_t>(&setting));
  sim::Note("change: DisplayOn %d result %lX", DisplayOn.load(), static_cast<long>(change));
  intptr_t paint = DisplayStateWindowProc(nullptr, 0x000F, 0, 0);
  sim::Note("paint: result %lX", static_cast<long>(paint));
  return 0;
}

TEST(DisplayState, ProcedureAlwaysAnswersWithTheDefaultResult) {
  sim::Run r = sim::RunProgram(CallProcDirectly, sim::World(), 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note other wparam: DisplayOn 1 result DEF00218"), 1)
      << "another power broadcast leaves DisplayOn alone";
  EXPECT_EQ(r.Count("note change: DisplayOn 0 result DEF00218"), 1);
  EXPECT_EQ(r.Count("note paint: result DEF0000F"), 1);
}

int DaemonPump() {
  platform::StartThread(DisplayStatePumpThread);
  for (;;) {
    platform::Sleep(1000);
    sim::Note("DisplayOn %d", DisplayOn.load());
  }
}

TEST(DisplayState, DaemonPumpDropsPostedMessagesAndKeepsListening) {
  sim::World world;
  world.Display(500, 1).Post(1500, 0x0400, 0, 0, "NocturoDaemon").Display(2500, 0);
  world.Post(3500, 0x0401, 0, 0, "NocturoDaemon").Display(4500, 1);
  sim::Run r = sim::RunProgram(DaemonPump, world, 5000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("CreateWindowExA ex 0 \"RenderWindow\" \"NocturoDaemon\""), 1);
  EXPECT_EQ(r.First("GetMessageA 0400"), 1500);
  EXPECT_EQ(r.Times("note DisplayOn 1"), (std::vector<int64_t>{1000, 2000, 5000}));
  EXPECT_EQ(r.Times("note DisplayOn 0"), (std::vector<int64_t>{3000, 4000}));
  EXPECT_EQ(r.First("GetMessageA 0401"), 3500);
}

int Probe() {
  platform::Handle window = CreateDisplayStateWindowWide(u"Nocturo", DisplayStateWindowProc);
  platform::Handle registration = RegisterDisplayState(window);
  platform::Message message;
  while (platform::GetMessageW(&message, nullptr, 0, 0) != 0) {
  }
  sim::Note("registration %s", registration ? "kept" : "null");
  return 0;
}

TEST(DisplayState, WideFormUsesTheWideCalls) {
  sim::Run r = sim::RunProgram(Probe, sim::World().Post(100, 0x0012), 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("RegisterClassW \"RenderWindow\" style 3"), 1);
  EXPECT_EQ(r.Count("CreateWindowExW ex 0 \"RenderWindow\" \"Nocturo\" style 00CF0000 at 0,0 size 30x20"), 1);
  EXPECT_EQ(r.First("GetMessageW 0012"), 100);
  EXPECT_EQ(r.Count("note registration kept"), 1);
}

}  // namespace
