// The simulated Windows itself: virtual time, ordering, delivery, deadlock, exit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/display_state.h"
#include "common/message_loops.h"
#include "platform/messages.h"
#include "platform/sim/sim.h"
#include "platform/threads.h"

namespace {

int SleepTenSeconds() {
  platform::Sleep(10000);
  sim::Note("woke");
  return 7;
}

TEST(Simulator, SleepWakesAtExactlyItsDeadline) {
  sim::Run r = sim::RunProgram(SleepTenSeconds, sim::World(), 60000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("note woke"), 10000);
  EXPECT_EQ(r.end, sim::End::Exit);
  EXPECT_EQ(r.exit_code, 7);
}

void* NoteA(void*) {
  platform::Sleep(500);
  sim::Note("A");
  return nullptr;
}
void* NoteB(void*) {
  platform::Sleep(500);
  sim::Note("B");
  return nullptr;
}
int TwoThreadsDueTogether() {
  platform::StartThread(NoteB);
  platform::StartThread(NoteA);
  platform::Sleep(1000);
  return 0;
}

TEST(Simulator, ThreadsDueTogetherWakeInTheOrderTheySlept) {
  for (int i = 0; i < 5; ++i) {
    sim::Run r = sim::RunProgram(TwoThreadsDueTogether, sim::World(), 5000);
    SCOPED_TRACE(r.Text());
    ASSERT_EQ(r.Count("note"), 2);
    EXPECT_EQ(r.First("note B"), 500);
    EXPECT_EQ(r.First("note A"), 500);
    std::vector<std::string> order;
    for (const sim::TraceLine& line : r.lines)
      if (line.text.rfind("note", 0) == 0) order.push_back(line.text);
    EXPECT_EQ(order, (std::vector<std::string>{"note B", "note A"})) << "B slept first";
  }
}

// The window's thread sleeps until 3000, then waits for messages: a display
// change at 1000 reaches the procedure only then.
int SleepThenPump() {
  RegisterDisplayState(CreateDisplayStateWindow("Nocturo"));
  platform::Sleep(3000);
  sim::Note("pumping, DisplayOn %d", DisplayOn.load());
  RunRetrievingMessageLoop();
  return 0;
}

TEST(Simulator, NotificationWaitsUntilTheThreadWaitsForMessages) {
  sim::World world;
  world.Display(1000, 1);
  sim::Run r = sim::RunProgram(SleepThenPump, world, 10000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("pumping, DisplayOn 0"), 3000);
  EXPECT_EQ(r.First("WM_POWERBROADCAST PBT_POWERSETTINGCHANGE 1"), 3000);
}

int WaitForNothing() {
  RunRetrievingMessageLoop();
  return 0;
}

TEST(Simulator, NothingLeftToWakeIsADeadlockNamingEachWait) {
  sim::Run r = sim::RunProgram(WaitForNothing, sim::World(), 10000);
  EXPECT_EQ(r.end, sim::End::Deadlock) << r.Text();
  EXPECT_NE(r.First("t1:waiting for messages(GetMessageA)"), -1) << r.Text();
}

void* ExitFromWorker(void*) {
  platform::Sleep(250);
  platform::Exit(3);
}
int MainWaitsForever() {
  platform::StartThread(ExitFromWorker);
  RunRetrievingMessageLoop();
  return 0;
}

TEST(Simulator, ExitFromAnyThreadEndsTheRunWithItsCode) {
  sim::Run r = sim::RunProgram(MainWaitsForever, sim::World(), 10000);
  EXPECT_EQ(r.end, sim::End::Exit) << r.Text();
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_EQ(r.ended_at, 250);
}

int SleepLong() {
  platform::Sleep(50000);
  return 0;
}

TEST(Simulator, RunStopsAtItsTimeLimit) {
  sim::Run r = sim::RunProgram(SleepLong, sim::World(), 20000);
  EXPECT_EQ(r.end, sim::End::TimeUp) << r.Text();
  EXPECT_EQ(r.ended_at, 20000);
}

}  // namespace
