// What wakes the blanker, what does not, and how it ends.
#include <gtest/gtest.h>

#include <vector>

#include "tests/blanker_world.h"
#include "version.h"

namespace {

using Times = std::vector<int64_t>;

void ExpectEndedAt(const sim::Run& r, int64_t at) {
  EXPECT_EQ(r.end, sim::End::Exit);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.ended_at, at);
  EXPECT_EQ(r.Count("exit "), 1) << "the process ends exactly once";
  EXPECT_EQ(r.First("UnhookWindowsHookEx"), at) << "the hook goes just before the end";
}

TEST(BlankerKeys, AKeyBeforeArmingIsSwallowedAndChangesNothing) {
  sim::World world = NocturoWorld("1");
  world.Key(1999);
  sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("key 41 down swallowed"), 1999);
  EXPECT_EQ(r.First("key 41 up swallowed"), 1999);
  EXPECT_EQ(r.end, sim::End::TimeUp);
}

TEST(BlankerKeys, AnArmedKeyEndsTheBlankerHalfASecondLaterEvenBeforeTheDisplayIsOff) {
  struct Row {
    const char* type;
    int64_t key;
  };
  for (Row row : {Row{"1", 2001}, Row{"3", 3100}, Row{"2", 4501}, Row{"2", 7300}}) {
    sim::World world = NocturoWorld(row.type);
    world.Key(row.key);
    sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
    SCOPED_TRACE(std::string("type ") + row.type + " key at " + std::to_string(row.key) + "\n" + r.Text());
    ExpectEndedAt(r, row.key + 500);
  }
}

TEST(BlankerKeys, TheHookNeverBlocksAndKeepsSwallowingUntilTheEnd) {
  sim::World world = NocturoWorld("1");
  world.Key(2500).Key(2700).Key(2999);
  sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times("key 41 down swallowed"), (Times{2500, 2700, 2999}));
  EXPECT_EQ(r.Count("hook ran"), 0) << "a slow hook is dropped by Windows";
  EXPECT_EQ(r.Count("reaches the desktop"), 0);
  ExpectEndedAt(r, 3000);
}

TEST(BlankerKeys, WithNoThreadLeftForTheExitAnArmedKeyStillEndsTheBlanker) {
  sim::World world = NocturoWorld("3");
  world.thread_room = 2;  // the starter and the watcher; nothing after them
  world.Key(2500);
  sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("pthread_create fails"), 2500);
  ExpectEndedAt(r, 3000);
}

TEST(BlankerKeys, WithoutAHookKeysPassAndTheCursorStillWakes) {
  sim::World world = NocturoWorld("1");
  world.Fail("SetWindowsHookExA").Key(2500).CursorAt(3000, 5, 0);
  sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("key 41 reaches the desktop"), 2500);
  EXPECT_EQ(r.First("UnhookWindowsHookEx fails"), 5500);
  EXPECT_EQ(r.ended_at, 5500);
  EXPECT_EQ(r.exit_code, 0);
}

TEST(BlankerExit, HookAndWatcherAtOnceEndTheProcessOnce) {
  for (int64_t key : {5000, 4999, 5001, 5499}) {
    sim::World world = NocturoWorld("1");
    world.CursorAt(4000, 1, 1).Key(key);
    sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
    SCOPED_TRACE("key at " + std::to_string(key) + "\n" + r.Text());
    ExpectEndedAt(r, std::min<int64_t>(key, 5000) + 500);
    EXPECT_EQ(r.Count("UnhookWindowsHookEx"), 1);
  }
}

TEST(BlankerExit, AQuitMessageEndsTheLoopWithCodeZero) {
  sim::World world = NocturoWorld("1");
  world.Post(3000, 0x0012);
  sim::Run r = sim::RunProgram(RunNocturo, world, 20000);
  EXPECT_EQ(r.end, sim::End::Exit) << r.Text();
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.ended_at, 3000);
}

struct CursorRow {
  const char* what;
  std::vector<sim::TimedPoint> track;
  int64_t ends_at;  // -1: runs on
};

TEST(BlankerCursor, OnlyAMoveWithinTheExtentSinceArmingCounts) {
  const CursorRow rows[] = {
      {"one pixel on x", {{0, 100, 100}, {2500, 101, 100}}, 5500},
      {"y only", {{0, 100, 100}, {6000, 100, 99}}, 8500},
      {"x at the width counts", {{0, 100, 100}, {2500, 1920, 100}}, 5500},
      {"x beyond the width", {{0, 100, 100}, {2500, 1921, 100}}, -1},
      {"y beyond the height", {{0, 100, 100}, {2500, 100, 1081}}, -1},
      {"negative x", {{0, 100, 100}, {2500, -5, 100}}, 5500},
      {"moved before arming", {{0, 100, 100}, {1000, 300, 300}}, -1},
      {"moved and back by the poll", {{0, 100, 100}, {3000, 200, 200}, {4000, 100, 100}}, -1},
      {"moved between polls", {{0, 100, 100}, {5001, 200, 200}}, 8500},
      {"beyond the width at one poll, back where it was armed at the next",
       {{0, 100, 100}, {5000, 2000, 100}, {7000, 100, 100}}, -1},
  };
  for (const CursorRow& row : rows) {
    sim::World world = NocturoWorld("1");
    world.cursor = row.track;
    sim::Run r = sim::RunProgram(RunNocturo, world, 15000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    if (row.ends_at < 0) {
      EXPECT_EQ(r.end, sim::End::TimeUp);
    } else {
      ExpectEndedAt(r, row.ends_at);
    }
  }
}

TEST(BlankerCursor, WithoutAScreenExtentOnlyCoordinatesAtOrBelowZeroCount) {
  sim::World moved_right = NocturoWorld("1");
  moved_right.Fail("GetDC").CursorAt(0, 0, 0).CursorAt(2500, 50, 50);
  sim::Run r = sim::RunProgram(RunNocturo, moved_right, 15000);
  EXPECT_EQ(r.end, sim::End::TimeUp) << r.Text();
  sim::World moved_left = NocturoWorld("1");
  moved_left.Fail("GetDC").CursorAt(0, 10, 10).CursorAt(2500, 0, 50);
  r = sim::RunProgram(RunNocturo, moved_left, 15000);
  EXPECT_EQ(r.ended_at, 5500) << r.Text();
}

TEST(BlankerDisplay, NormalAndAnyModeOutOfRangeIgnoreTheDisplayComingBack) {
  for (const char* type : std::initializer_list<const char*>{"1", "0", "4", "-1", "x", nullptr}) {
    sim::World world = type ? NocturoWorld(type) : sim::World();
    world.Display(100, 1).Display(4100, 0).Display(6000, 1);
    sim::Run r = sim::RunProgram(RunNocturo, world, 30000);
    SCOPED_TRACE(std::string("type ") + (type ? type : "missing") + "\n" + r.Text());
    EXPECT_EQ(r.end, sim::End::TimeUp);
    EXPECT_EQ(r.Times(kBroadcast), (Times{4000})) << "no re-broadcast";
  }
}

TEST(BlankerDisplay, LockScreenWaitsForTheDisplayOffThenEndsWhenItComesBack) {
  sim::World world = NocturoWorld("2");
  world.Display(100, 1).Display(6100, 0).Display(8200, 1);
  sim::Run r = sim::RunProgram(RunNocturo, world, 30000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times("GetCursorPos"), (Times{4500, 7500, 8500})) << "polls begin after the display is off";
  ExpectEndedAt(r, 9000);
}

TEST(BlankerDisplay, LockScreenWithTheDisplayNeverOffWaitsButAnArmedKeyEndsIt) {
  sim::World world = NocturoWorld("2");
  world.Display(100, 1).CursorAt(7000, 500, 500).Key(12000);
  sim::Run r = sim::RunProgram(RunNocturo, world, 30000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times("GetCursorPos"), (Times{4500})) << "the cursor is never polled";
  ExpectEndedAt(r, 12500);
}

TEST(BlankerDisplay, EnhancedSwitchesTheDisplayOffAgainAfterEachPollThatSeesItOn) {
  sim::World world = NocturoWorld("3");
  world.Display(100, 1).Display(4100, 0).Display(6000, 1);
  sim::Run r = sim::RunProgram(RunNocturo, world, 21000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times(kBroadcast), (Times{4000, 10000, 15000, 20000}));
  EXPECT_EQ(r.Count("thread returns"), 5) << "the starter and every sender finished";
}

TEST(BlankerDisplay, EnhancedWithoutNotificationsNeverBroadcastsAgain) {
  sim::Run r = sim::RunProgram(RunNocturo, NocturoWorld("3"), 60000);
  EXPECT_EQ(r.Times(kBroadcast), (Times{4000})) << r.Text();
}

TEST(TrayBlanker, RefusesAtOnceUnlessAProcessIsNamedExactlyNocturotrayInItsSession) {
  const std::pair<const char*, uint32_t> trays[] = {
      {"", 1}, {"NocturoTray.exe", 1}, {"nocturotray.exe.bak", 1}, {"nocturotray.exe", 2}};
  for (const auto& [tray, session] : trays) {
    sim::World world;
    world.image_name = "panelblank.exe";
    world.File("tpinfo.ini", "[setting]\r\ntype=2\r\ndefault=2");
    if (*tray) world.Process(tray, 0, session);
    sim::Run r = sim::RunProgram(RunPanelBlank, world, 20000);
    SCOPED_TRACE(std::string("tray named \"") + tray + "\" in session " + std::to_string(session) + "\n" + r.Text());
    EXPECT_EQ(r.end, sim::End::Exit);
    EXPECT_EQ(r.exit_code, 0);
    EXPECT_EQ(r.ended_at, 0);
    EXPECT_EQ(r.First("BlockInput 1"), 0) << "input is blocked before the check";
    EXPECT_EQ(r.Count("GetPrivateProfileIntA"), 0);
    EXPECT_EQ(r.Count("pthread_create"), 0);
    EXPECT_EQ(r.Count("ShellExecuteW"), 0);
    EXPECT_EQ(r.Count("SetWindowsHookExA"), 0);
    EXPECT_EQ(r.Count("CreateWindowExA"), 0);
  }
}

TEST(TrayBlanker, WithTheTrayRunningItTakesItsModeFromTheTrayFile) {
  sim::World world;
  world.image_name = "panelblank.exe";
  world.File("tpinfo.ini", "[setting]\r\ntype=2\r\ndefault=3").Process("nocturotray.exe");
  world.File("info.ini", "[setting]\r\ntype=3\r\n");
  sim::Run r = sim::RunProgram(RunPanelBlank, world, 12000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.First("GetPrivateProfileIntA setting type .//tpinfo.ini = 2"), 0);
  EXPECT_EQ(r.Times(kLock), (Times{3500}));
  EXPECT_EQ(r.Times(kBroadcast), (Times{6000}));
  EXPECT_EQ(r.First(u8"\"/d /v:off /c echo Nocturo v" NOCTURO_VERSION "-tp1.0 托盘版 && "), 0);
}

TEST(TrayBlanker, WithoutTheTrayFileItRunsNormal) {
  sim::World world;
  world.image_name = "panelblank.exe";
  world.Process("nocturotray.exe");
  sim::Run r = sim::RunProgram(RunPanelBlank, world, 12000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Times(kBroadcast), (Times{4000}));
  EXPECT_EQ(r.Count(kLock), 0);
}

}  // namespace
