// The real blankers under Wine, used as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"

namespace {

// A fresh installation folder holding `exe` and an INI file, started there.
e2e::Program Start(const std::string& name, const std::string& exe, const std::string& ini_name, const std::string& type) {
  std::string folder = e2e::InstallFolder(name, {exe});
  e2e::WriteFile(folder + "/" + ini_name, "[setting]\r\ntype=" + type + "\r\ndefault=0");
  return e2e::Program(e2e::StartWine(folder, folder + "/" + exe, {}));
}

e2e::WindowInfo FindBlankerWindow(int timeout_ms = 20000) {
  return e2e::WaitWindow("RenderWindow", "Nocturo", timeout_ms);
}

// The window asks for 30 by 20; Windows widens an overlapped window to its
// smallest tracking size, so that is what a 30 by 20 request comes out as.
void ExpectHiddenThirtyByTwenty(const e2e::WindowInfo& w) {
  ASSERT_TRUE(w.found) << "no RenderWindow titled Nocturo";
  EXPECT_EQ(w.visible, 0);
  EXPECT_EQ(w.width, std::max(30, w.min_width));
  EXPECT_EQ(w.height, std::max(20, w.min_height));
}

// Moves the cursor to a new place, or presses a key, once a second until the
// blanker ends; its exit code, or -1 after 30 s.
int InputUntilExit(e2e::Program& blanker, bool keys = false) {
  for (int waited = 0; waited < 30000; waited += 1000) {
    keys ? e2e::Key('A') : e2e::Move(300 + waited / 100, 300);
    int code = blanker.WaitExit(1000);
    if (code != -1) return code;
  }
  return -1;
}

TEST(BlankerUnderWine, HiddenWindowIsThirtyByTwentyAndNeverShown) {
  e2e::Move(100, 100);
  e2e::Program blanker = Start("blanker-window", "nocturo.exe", "info.ini", "1");
  ExpectHiddenThirtyByTwenty(FindBlankerWindow());
  e2e::SleepMs(2000);
  ExpectHiddenThirtyByTwenty(FindBlankerWindow());
  EXPECT_EQ(InputUntilExit(blanker), 0) << "a cursor move after arming ends it with code 0";
}

TEST(BlankerUnderWine, AKeyBeforeArmingDoesNothingAndOneAfterEndsIt) {
  // LockScreen arms at 4.5 s, leaving room for a key well before it.
  e2e::Program blanker = Start("blanker-keys", "nocturo.exe", "info.ini", "2");
  ASSERT_TRUE(FindBlankerWindow().found);
  ASSERT_TRUE(e2e::Key('A'));
  EXPECT_EQ(blanker.WaitExit(3000), -1) << "a key before arming must not end the blanker";
  e2e::SleepMs(2500);
  EXPECT_EQ(InputUntilExit(blanker, true), 0);
}

TEST(TrayBlankerUnderWine, EndsAtOnceWithoutAProcessNamedExactlyNocturotray) {
  for (const char* tray : {"", "NocturoTray.exe"}) {
    SCOPED_TRACE(std::string("tray stand-in \"") + tray + "\"");
    e2e::Program stand_in(*tray ? e2e::StartStandIn("tray-stand-in-case", tray) : -1);
    ASSERT_TRUE(e2e::WaitProcess("nocturotray.exe", false, 10000)) << "a tray runs: the blanker would stay for it";
    e2e::Program blanker = Start("panelblank-refuses", "panelblank.exe", "tpinfo.ini", "1");
    EXPECT_EQ(blanker.WaitExit(20000), 0);
  }
}

TEST(TrayBlankerUnderWine, RunsWhileTheTrayRuns) {
  e2e::Program tray(e2e::StartStandIn("tray-stand-in", "nocturotray.exe"));
  e2e::Program blanker = Start("panelblank-runs", "panelblank.exe", "tpinfo.ini", "1");
  ExpectHiddenThirtyByTwenty(FindBlankerWindow());
  EXPECT_EQ(blanker.WaitExit(1000), -1);
  EXPECT_EQ(InputUntilExit(blanker), 0);
}

// A top-level window of the test's that notes every display-off broadcast,
// for as long as this lives; times count from `t0`, at first its start.
struct BroadcastWatch {
  std::string file = e2e::NewFolder("watch") + "/broadcasts.txt";
  e2e::Program program{e2e::StartBroadcastWatch(file, 300000)};
  long long t0 = e2e::NowMs();

  std::vector<long long> Times() const {
    std::vector<long long> times;
    std::istringstream in(e2e::ReadFile(file));
    for (long long at, lparam; in >> at >> lparam;) times.push_back(at - t0);
    return times;
  }
  std::string Shown() const {
    std::string out = "broadcasts at";
    for (long long t : Times()) out += " " + std::to_string(t);
    return out;
  }
};

// A blanker of that mode with the display reported on; true once its first
// display-off broadcast has come.
bool StartWatched(const std::string& type, const BroadcastWatch& watch, e2e::Program* blanker) {
  *blanker = Start("blanker-" + type, "nocturo.exe", "info.ini", type);
  return FindBlankerWindow().found && e2e::ReportDisplay("nocturo.exe", 1) &&
         e2e::Eventually([&] { return !watch.Times().empty(); }, 20000);
}

TEST(BlankerUnderWine, NormalBroadcastsOnceAndTheDisplayComingBackChangesNothing) {
  BroadcastWatch watch;
  e2e::Program blanker;
  ASSERT_TRUE(StartWatched("1", watch, &blanker));
  ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 1));
  e2e::SleepMs(12000);
  std::vector<long long> times = watch.Times();
  SCOPED_TRACE(watch.Shown());
  ASSERT_EQ(times.size(), 1u);
  EXPECT_GE(times[0], 3500);
  EXPECT_LE(times[0], 9000);
  EXPECT_TRUE(blanker.Running()) << "the display back on does not end it";
  EXPECT_EQ(InputUntilExit(blanker), 0);
}

// The hung window stands between the watch and the blanker: a broadcast that
// waited for it would never reach the watch.
TEST(BlankerUnderWine, EnhancedReblanksPastAHungWindowWhileTheDisplayIsOnAndLeavesNothingBehind) {
  BroadcastWatch watch;
  e2e::Program hung(e2e::StartHungWindow(300000));
  ASSERT_TRUE(e2e::WindowExists("NocHung", "NocHung"));
  watch.t0 = e2e::NowMs();
  e2e::Program blanker = Start("blanker-enhanced-hung", "nocturo.exe", "info.ini", "3");
  ASSERT_TRUE(FindBlankerWindow().found);
  ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 1));
  e2e::ProcessStats early = e2e::Stats("nocturo.exe");
  ASSERT_TRUE(e2e::Eventually([&] { return watch.Times().size() >= 4; }, 40000)) << watch.Shown();
  ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 0));
  e2e::SleepMs(3000);  // a re-broadcast already on its way may still come
  size_t reported_off = watch.Times().size();
  e2e::SleepMs(12000);
  std::vector<long long> times = watch.Times();
  e2e::ProcessStats late = e2e::Stats("nocturo.exe");
  SCOPED_TRACE(watch.Shown());
  EXPECT_EQ(times.size(), reported_off) << "none once the display is reported off";
  EXPECT_LE(times[0], 9000) << "the first display-off gets past the hung window";
  for (size_t i = 2; i < times.size(); ++i) {
    EXPECT_GE(times[i] - times[i - 1], 3500) << i;
    EXPECT_LE(times[i] - times[i - 1], 8000) << i;
  }
  std::cout << "[ stats    ] threads " << early.threads << " -> " << late.threads << ", handles "
            << early.handles << " -> " << late.handles << " over " << times.size() << " broadcasts\n";
  ASSERT_GT(early.threads, 0);
  EXPECT_LE(late.threads, early.threads) << "every sender has ended";
  EXPECT_LE(late.handles, early.handles + 2) << "and left no handle behind";
  EXPECT_EQ(InputUntilExit(blanker, true), 0);
}

TEST(BlankerUnderWine, LockScreenWaitsForTheDisplayOffThenEndsOnTheCursorOrTheDisplayBack) {
  for (bool move : {true, false}) {  // else the display is reported on again
    SCOPED_TRACE(move ? "cursor" : "display back on");
    e2e::Move(200, 200);
    BroadcastWatch watch;
    e2e::Program blanker;
    ASSERT_TRUE(StartWatched("2", watch, &blanker));
    EXPECT_GE(watch.Times()[0], 5500) << "LockScreen switches off after the lock";
    if (move) {
      e2e::Move(260, 240);
      EXPECT_EQ(blanker.WaitExit(4000), -1) << "while the display is on the cursor is not looked at";
      ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 0));
    } else {
      ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 0));
      EXPECT_EQ(blanker.WaitExit(4000), -1) << "the display off alone ends nothing";
      ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 1));
    }
    EXPECT_EQ(blanker.WaitExit(6000), 0);
  }
}

}  // namespace
