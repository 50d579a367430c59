// The real blankers under Wine, used as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

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

struct WindowInfo {
  bool found = false;
  int visible = -1, width = -1, height = -1, min_width = -1, min_height = -1;
};

WindowInfo FindBlankerWindow(int timeout_ms = 20000) {
  e2e::Result r = e2e::Helper({"wait-window", "RenderWindow", "Nocturo", std::to_string(timeout_ms)});
  WindowInfo w;
  std::istringstream in(r.output);
  std::string word;
  in >> word >> w.visible >> word >> w.width >> word >> w.height >> word >> w.min_width >> w.min_height;
  w.found = r.code == 0 && !in.fail();
  return w;
}

// The window asks for 30 by 20; Windows widens an overlapped window to its
// smallest tracking size, so that is what a 30 by 20 request comes out as.
void ExpectHiddenThirtyByTwenty(const WindowInfo& w) {
  ASSERT_TRUE(w.found) << "no RenderWindow titled Nocturo";
  EXPECT_EQ(w.visible, 0);
  EXPECT_EQ(w.width, std::max(30, w.min_width));
  EXPECT_EQ(w.height, std::max(20, w.min_height));
}

// Moves the cursor to a new place once a second until the blanker ends.
int MoveUntilExit(pid_t pid, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 1000) {
    e2e::Helper({"move", std::to_string(300 + waited / 100), "300"});
    int code = e2e::WaitExit(pid, 1000);
    if (code != -1) return code;
  }
  return -1;
}

int KeysUntilExit(pid_t pid, int timeout_ms) {
  for (int waited = 0; waited < timeout_ms; waited += 1000) {
    e2e::Helper({"key", "0x41"});
    int code = e2e::WaitExit(pid, 1000);
    if (code != -1) return code;
  }
  return -1;
}

TEST(BlankerUnderWine, HiddenWindowIsThirtyByTwentyAndNeverShown) {
  e2e::Helper({"move", "100", "100"});
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
  ASSERT_EQ(e2e::Helper({"key", "0x41"}).code, 0);
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

struct Stats {
  long cpu_ms = -1, threads = -1, handles = -1, working_set_kb = -1;
};

Stats Measure(const std::string& image) {
  std::istringstream in(e2e::Helper({"proc-stats", image}).output);
  Stats s;
  std::string word;
  in >> word >> s.cpu_ms >> word >> s.threads >> word >> s.handles >> word >> s.working_set_kb;
  return s;
}

TEST(BlankerUnderWine, EnhancedModeHoldsItsThreadsAndHandlesOverAMinute) {
  Blanker b = Start("blanker-enhanced", "nocturo.exe", "info.ini", "3");
  ASSERT_TRUE(FindBlankerWindow().found);
  e2e::SleepMs(8000);
  Stats early = Measure("nocturo.exe");
  e2e::SleepMs(52000);
  Stats late = Measure("nocturo.exe");
  std::cout << "[ stats    ] threads " << early.threads << " -> " << late.threads << ", handles "
            << early.handles << " -> " << late.handles << ", cpu " << early.cpu_ms << " -> "
            << late.cpu_ms << " ms\n";
  ASSERT_GT(early.threads, 0);
  EXPECT_LE(late.threads, early.threads);
  EXPECT_LE(late.handles, early.handles + 2);
  EXPECT_EQ(MoveUntilExit(b.pid, 30000), 0);
}

}  // namespace
