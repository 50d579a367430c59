// The real blankers under Wine, used as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"

namespace {

struct Blanker {
  std::string folder;
  pid_t pid;
};

// A fresh installation folder holding `exe` and an INI file, started there.
Blanker Start(const std::string& name, const std::string& exe, const std::string& ini_name,
              const std::string& type) {
  Blanker b;
  b.folder = e2e::NewFolder(name);
  e2e::CopyFile(e2e::PackageDir() + "/" + exe, b.folder + "/" + exe);
  e2e::WriteFile(b.folder + "/" + ini_name, "[setting]\r\ntype=" + type + "\r\ndefault=0");
  b.pid = e2e::StartWine(b.folder, b.folder + "/" + exe, {});
  return b;
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

// Moves the cursor to a new place once a second until the blanker ends.
int MoveUntilExit(pid_t pid, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 1000) {
    e2e::Move(300 + waited / 100, 300);
    int code = e2e::WaitExit(pid, 1000);
    if (code != -1) return code;
  }
  return -1;
}

int KeysUntilExit(pid_t pid, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 1000) {
    e2e::Key('A');
    int code = e2e::WaitExit(pid, 1000);
    if (code != -1) return code;
  }
  return -1;
}

TEST(BlankerUnderWine, HiddenWindowIsThirtyByTwentyAndNeverShown) {
  e2e::Move(100, 100);
  Blanker b = Start("blanker-window", "nocturo.exe", "info.ini", "1");
  ExpectHiddenThirtyByTwenty(FindBlankerWindow());
  e2e::SleepMs(2000);
  ExpectHiddenThirtyByTwenty(FindBlankerWindow());
  EXPECT_EQ(MoveUntilExit(b.pid, 30000), 0) << "a cursor move after arming ends it with code 0";
}

TEST(BlankerUnderWine, AKeyBeforeArmingDoesNothingAndOneAfterEndsIt) {
  // LockScreen arms at 4.5 s, leaving room for a key well before it.
  Blanker b = Start("blanker-keys", "nocturo.exe", "info.ini", "2");
  ASSERT_TRUE(FindBlankerWindow().found);
  ASSERT_TRUE(e2e::Key('A'));
  EXPECT_EQ(e2e::WaitExit(b.pid, 3000), -1) << "a key before arming must not end the blanker";
  e2e::SleepMs(2500);
  EXPECT_EQ(KeysUntilExit(b.pid, 30000), 0);
}

TEST(TrayBlankerUnderWine, EndsAtOnceWithoutAProcessNamedExactlyNocturotray) {
  for (const char* tray : {"", "NocturoTray.exe"}) {
    SCOPED_TRACE(std::string("tray stand-in \"") + tray + "\"");
    pid_t stand_in = -1;
    if (*tray) {
      std::string folder = e2e::NewFolder("tray-stand-in-case");
      e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/" + tray);
      stand_in = e2e::StartWine(folder, folder + "/" + tray, {});
      ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(folder + "/" + tray + ".started"); }, 20000));
    }
    Blanker b = Start("panelblank-refuses", "panelblank.exe", "tpinfo.ini", "1");
    EXPECT_EQ(e2e::WaitExit(b.pid, 20000), 0);
    EXPECT_FALSE(FindBlankerWindow(0).found) << "no window";
    if (stand_in > 0) e2e::Kill(stand_in);
  }
}

TEST(TrayBlankerUnderWine, RunsWhileTheTrayRuns) {
  std::string tray_folder = e2e::NewFolder("tray-stand-in");
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", tray_folder + "/nocturotray.exe");
  pid_t tray = e2e::StartWine(tray_folder, tray_folder + "/nocturotray.exe", {});
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(tray_folder + "/nocturotray.exe.started"); }, 20000));
  Blanker b = Start("panelblank-runs", "panelblank.exe", "tpinfo.ini", "1");
  ExpectHiddenThirtyByTwenty(FindBlankerWindow());
  EXPECT_EQ(e2e::WaitExit(b.pid, 1000), -1);
  EXPECT_EQ(MoveUntilExit(b.pid, 30000), 0);
  e2e::Kill(tray);
}

// A top-level window of the test's that notes every display-off broadcast.
struct BroadcastWatch {
  std::string file;
  pid_t pid;

  // Milliseconds after `since` of each broadcast so far.
  std::vector<long long> Times(long long since) const {
    std::vector<long long> times;
    std::istringstream in(e2e::ReadFile(file));
    long long at;
    long lparam;
    while (in >> at >> lparam) times.push_back(at - since);
    return times;
  }
};

BroadcastWatch WatchBroadcasts(const std::string& folder) {
  BroadcastWatch w{folder + "/broadcasts.txt", -1};
  w.pid = e2e::StartBroadcastWatch(w.file, 300000);
  EXPECT_TRUE(e2e::WindowExists("NocWatch", "NocWatch"));
  return w;
}

std::string Shown(const std::vector<long long>& times) {
  std::string out;
  for (long long t : times) out += std::to_string(t) + " ";
  return out;
}

// A blanker of that mode, started with a watch on the desktop and the display
// reported on; true once its first display-off broadcast has come.
bool StartWatched(const std::string& name, const std::string& type, BroadcastWatch* watch, long long* t0,
                  Blanker* b) {
  *watch = WatchBroadcasts(e2e::NewFolder("watch-" + name));
  *t0 = e2e::NowMs();
  *b = Start("blanker-" + name, "nocturo.exe", "info.ini", type);
  return FindBlankerWindow().found && e2e::ReportDisplay("nocturo.exe", 1) &&
         e2e::Eventually([&] { return !watch->Times(*t0).empty(); }, 20000);
}

TEST(BlankerUnderWine, NormalBroadcastsOnceAndTheDisplayComingBackChangesNothing) {
  BroadcastWatch watch;
  long long t0;
  Blanker b;
  ASSERT_TRUE(StartWatched("normal", "1", &watch, &t0, &b));
  ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 1));
  e2e::SleepMs(12000);
  std::vector<long long> times = watch.Times(t0);
  SCOPED_TRACE("broadcasts at " + Shown(times));
  ASSERT_EQ(times.size(), 1u);
  EXPECT_GE(times[0], 3500);
  EXPECT_LE(times[0], 9000);
  EXPECT_EQ(e2e::WaitExit(b.pid, 0), -1) << "the display back on does not end it";
  EXPECT_EQ(MoveUntilExit(b.pid, 30000), 0);
  e2e::Kill(watch.pid);
}

// The hung window stands between the watch and the blanker: a broadcast that
// waited for it would never reach the watch.
TEST(BlankerUnderWine, EnhancedReblanksPastAHungWindowWhileTheDisplayIsOnAndLeavesNothingBehind) {
  BroadcastWatch watch = WatchBroadcasts(e2e::NewFolder("watch-enhanced"));
  pid_t hung = e2e::StartHungWindow(300000);
  ASSERT_TRUE(e2e::WindowExists("NocHung", "NocHung"));
  long long t0 = e2e::NowMs();
  Blanker b = Start("blanker-enhanced-hung", "nocturo.exe", "info.ini", "3");
  ASSERT_TRUE(FindBlankerWindow().found);
  ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 1));
  e2e::ProcessStats early = e2e::Stats("nocturo.exe");
  ASSERT_TRUE(e2e::Eventually([&] { return watch.Times(t0).size() >= 4; }, 40000))
      << "broadcasts at " << Shown(watch.Times(t0));
  ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 0));
  e2e::SleepMs(3000);  // a re-broadcast already on its way may still come
  size_t reported_off = watch.Times(t0).size();
  e2e::SleepMs(12000);
  std::vector<long long> times = watch.Times(t0);
  e2e::ProcessStats late = e2e::Stats("nocturo.exe");
  SCOPED_TRACE("broadcasts at " + Shown(times));
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
  EXPECT_EQ(KeysUntilExit(b.pid, 30000), 0);
  e2e::Kill(hung);
  e2e::Kill(watch.pid);
}

TEST(BlankerUnderWine, LockScreenWaitsForTheDisplayOffThenEndsOnTheCursorOrTheDisplayBack) {
  struct Row {
    const char* what;
    bool move;  // else the display is reported on again
  };
  for (Row row : {Row{"cursor", true}, Row{"display back on", false}}) {
    SCOPED_TRACE(row.what);
    e2e::Move(200, 200);
    BroadcastWatch watch;
    long long t0;
    Blanker b;
    ASSERT_TRUE(StartWatched("lock", "2", &watch, &t0, &b));
    EXPECT_GE(watch.Times(t0)[0], 5500) << "LockScreen switches off after the lock";
    if (row.move) {
      e2e::Move(260, 240);
      EXPECT_EQ(e2e::WaitExit(b.pid, 4000), -1) << "while the display is on the cursor is not looked at";
      ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 0));
    } else {
      ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 0));
      EXPECT_EQ(e2e::WaitExit(b.pid, 4000), -1) << "the display off alone ends nothing";
      ASSERT_TRUE(e2e::ReportDisplay("nocturo.exe", 1));
    }
    int code = e2e::WaitExit(b.pid, 6000);
    EXPECT_EQ(code, 0);
    if (code == -1) e2e::Kill(b.pid);
    e2e::Kill(watch.pid);
  }
}

}  // namespace
