// The real tray under Wine, driven through its window as the shell would drive it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/wine_env.h"

namespace {

const std::string kTrayIcon = "0x401", kIconId = "108";
const std::string kLeftDown = "0x201", kRightDown = "0x204";
const std::string kLink = "startnocturotray.vbs.lnk";

std::string Written(int type, int left_click_mode) {
  return "[setting]\r\ntype=" + std::to_string(type) + "\r\ndefault=" + std::to_string(left_click_mode);
}

// An installation folder with the tray's four files; `skip` leaves one out.
std::string Install(const std::string& name, const std::string& skip = "") {
  std::string folder = e2e::NewFolder(name);
  for (const char* exe : {"nocturotray.exe", "panelblank.exe"})
    if (skip != exe) e2e::CopyFile(e2e::PackageDir() + "/" + exe, folder + "/" + exe);
  if (skip != "startnocturotray.vbs")
    e2e::CopyFile(std::string(NOCTURO_SOURCE_DIR) + "/dist/startnocturotray.vbs", folder + "/startnocturotray.vbs");
  if (skip != "tpinfo.ini") e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 1));
  return folder;
}

pid_t StartTray(const std::string& folder) {
  pid_t tray = e2e::StartWine(folder, folder + "/nocturotray.exe", {});
  EXPECT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "no tray window";
  return tray;
}

void Post(const std::string& message, const std::string& wparam, const std::string& lparam = "0") {
  ASSERT_EQ(e2e::Helper({"post", "DOCKWIN", "dockwin", message, wparam, lparam}).code, 0);
}

bool BlankerRuns(int timeout_ms) {
  return e2e::Helper({"wait-process", "panelblank.exe", "appear", std::to_string(timeout_ms)}).code == 0;
}

// A blanker ends on a cursor move once armed.
void EndBlanker() {
  for (int i = 0; i < 30 && BlankerRuns(0); ++i) {
    e2e::Helper({"move", std::to_string(200 + 5 * i), "200"});
    e2e::SleepMs(1000);
  }
  EXPECT_FALSE(BlankerRuns(0));
}

TEST(TrayUnderWine, ALeftPressWritesTheFileAndStartsTheBlanker) {
  std::string folder = Install("tray-left");
  e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 3));
  pid_t tray = StartTray(folder);
  Post(kTrayIcon, kIconId, kLeftDown);
  ASSERT_TRUE(BlankerRuns(20000));
  EXPECT_EQ(e2e::ReadFile(folder + "/tpinfo.ini"), Written(3, 3));
  EndBlanker();
  e2e::Kill(tray);
}

TEST(TrayUnderWine, TheMenuOpensOnTheRightPressAndItsCommandsWriteTheFile) {
  std::string folder = Install("tray-menu");
  pid_t tray = StartTray(folder);
  Post(kTrayIcon, kIconId, kRightDown);
  EXPECT_TRUE(e2e::WindowExists("#32768", "", 10000)) << "the popup menu shows";
  Post("0x1F", "0");  // WM_CANCELMODE closes it
  EXPECT_TRUE(e2e::Eventually([] { return !e2e::WindowExists("#32768", ""); }, 10000));
  ASSERT_EQ(e2e::Helper({"broadcast-registered", "TaskbarCreated"}).code, 0);
  const std::pair<const char*, std::string> rows[] = {
      {"211", Written(3, 3)}, {"212", Written(0, 0)}, {"209", Written(1, 1)}, {"202", Written(2, 1)}};
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string("command ") + row.first);
    Post("0x111", row.first);
    EXPECT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == row.second; }, 10000))
        << e2e::ReadFile(folder + "/tpinfo.ini");
  }
  EXPECT_TRUE(BlankerRuns(20000)) << "the top-level item starts one";
  EndBlanker();
  e2e::Kill(tray);
}

TEST(TrayUnderWine, YesInstallsTheStartupLinkToThisFolderAndNoRemovesIt) {
  std::string folder = Install("tray autostart");  // a blank in the path, as in Program Files
  std::string installed = e2e::StartupFolder() + "/" + kLink;
  e2e::WriteFile(installed, "an old link");
  pid_t tray = StartTray(folder);
  Post("0x111", "206");
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(installed) != "an old link"; }, 15000));
  e2e::Result link = e2e::Helper({"link", e2e::WindowsPath(installed)});
  EXPECT_EQ(link.output, "target " + e2e::WindowsPath(folder) + "\\startnocturotray.vbs\nworkdir " +
                             e2e::WindowsPath(folder) + "\n");
  EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(folder + "/" + kLink); }, 10000))
      << "no local link is left";
  Post("0x111", "207");
  EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(installed); }, 10000));
  e2e::Kill(tray);
}

TEST(TrayUnderWine, ASecondCopyAMissingFileOrAnotherFolderEndsItAtOnceWithZero) {
  std::string folder = Install("tray-single");
  pid_t tray = StartTray(folder);
  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturotray.exe", {}, 20000).code, 0);
  EXPECT_EQ(e2e::WaitExit(tray, 500), -1) << "the first copy goes on";
  e2e::Kill(tray);
  for (const char* missing : {"startnocturotray.vbs", "nocturotray.exe", "panelblank.exe", "tpinfo.ini"}) {
    SCOPED_TRACE(missing);
    std::string bare = Install("tray-without", missing);
    std::string program = bare + "/nocturotray.exe";
    if (!e2e::Exists(program)) program = e2e::PackageDir() + "/nocturotray.exe";
    EXPECT_EQ(e2e::RunWine(bare, program, {}, 20000).code, 0);
    EXPECT_FALSE(e2e::WindowExists("DOCKWIN", "dockwin"));
  }
  // The genuine tray started in a folder of someone else's making, with the
  // four files and a planted blanker, as a rewritten logon link would start it.
  std::string planted = Install("tray-planted");
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", planted + "/panelblank.exe");
  EXPECT_EQ(e2e::RunWine(planted, e2e::PackageDir() + "/nocturotray.exe", {}, 20000).code, 0);
  EXPECT_FALSE(e2e::WindowExists("DOCKWIN", "dockwin"));
  EXPECT_FALSE(e2e::Exists(planted + "/panelblank.exe.started"));
}

TEST(TrayUnderWine, ExitAndACloseRequestEndItWithZeroWhileTheBlankerGoesOn) {
  std::string folder = Install("tray-exit");
  for (bool by_menu : {true, false}) {
    SCOPED_TRACE(by_menu ? "退出" : "WM_CLOSE");
    pid_t tray = StartTray(folder);
    if (by_menu) {
      Post(kTrayIcon, kIconId, kLeftDown);
      ASSERT_TRUE(BlankerRuns(20000));
    }
    by_menu ? Post("0x111", "208") : Post("0x10", "0");
    EXPECT_EQ(e2e::WaitExit(tray, 20000), 0);
    EXPECT_FALSE(e2e::WindowExists("DOCKWIN", "dockwin"));
  }
  EXPECT_TRUE(BlankerRuns(0)) << "the blanker outlives the tray";
  EndBlanker();
}

TEST(LauncherScriptsUnderWine, EachStartsItsProgramInTheScriptsOwnFolder) {
  for (const std::string program : {"nocturotray", "nocturodaemon"}) {
    SCOPED_TRACE(program);
    std::string folder = e2e::NewFolder("launch " + program);
    std::string script = "start" + program + ".vbs";
    e2e::CopyFile(std::string(NOCTURO_SOURCE_DIR) + "/dist/" + script, folder + "/" + script);
    e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/" + program + ".exe");
    std::string elsewhere = e2e::NewFolder("launch-elsewhere");
    e2e::RunWine(elsewhere, "wscript.exe", {e2e::WindowsPath(folder + "/" + script)}, 30000);
    std::string marker = folder + "/" + program + ".exe.started";
    ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(marker); }, 20000));
    EXPECT_EQ(e2e::ReadFile(marker), e2e::WindowsPath(folder));
    e2e::EndAll(program + ".exe");
  }
}

// The same tray on a desktop with a real taskbar, clicked with the real mouse.
class TrayUnderShell : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { e2e::UseShellDesktop(true); }
  static void TearDownTestSuite() { e2e::UseShellDesktop(false); }

  void SetUp() override {
    std::istringstream in(e2e::Helper({"wait-window", "Shell_TrayWnd", "", "20000"}).output);
    std::string word;
    int width = 0, height = 0, x = 0, y = 0;
    in >> word >> word >> word >> width >> word >> height >> word >> word >> word >> word >> x >> y;
    ASSERT_GT(width, 0) << "no taskbar";
    // The notification area's last cell, at the taskbar's right end.
    icon_x_ = x + width - 10;
    icon_y_ = y + height / 2;
    cell_ = {std::to_string(x + width - 20), std::to_string(y), "20", std::to_string(height)};
  }

  std::string RightEnd() const {
    return e2e::Helper({"region", cell_[0], cell_[1], cell_[2], cell_[3]}).output;
  }
  void ClickIcon(int button) const { e2e::ClickAt(icon_x_, icon_y_, button); }
  bool IconShows(const std::string& empty) const {
    return e2e::Eventually([&] { return RightEnd() != empty; }, 10000);
  }

  int icon_x_ = 0, icon_y_ = 0;
  std::vector<std::string> cell_;
};

TEST_F(TrayUnderShell, TheIconComesWithTheTrayAndGoesWithExit) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-icon");
  pid_t tray = StartTray(folder);
  EXPECT_TRUE(IconShows(empty)) << "the taskbar's right end did not change";
  Post("0x111", "208");  // 退出
  EXPECT_EQ(e2e::WaitExit(tray, 20000), 0);
  EXPECT_TRUE(e2e::Eventually([&] { return RightEnd() == empty; }, 10000)) << "the icon is still there";
}

TEST_F(TrayUnderShell, ALeftClickBlanksInTheLeftClickModeAndARightClickOpensTheMenuAtThePointer) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-click");
  e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 2));
  pid_t tray = StartTray(folder);
  ASSERT_TRUE(IconShows(empty));
  ClickIcon(1);
  ASSERT_TRUE(BlankerRuns(20000));
  EXPECT_EQ(e2e::ReadFile(folder + "/tpinfo.ini"), Written(2, 2));
  EndBlanker();

  ClickIcon(3);
  std::istringstream menu(e2e::Helper({"wait-window", "#32768", "", "10000"}).output);
  std::string word;
  int width = -1, height = -1, x = -1, y = -1;
  menu >> word >> word >> word >> width >> word >> height >> word >> word >> word >> word >> x >> y;
  ASSERT_GT(width, 0) << "no menu";
  // Next to the pointer: the pointer on the menu's edge or within a few pixels of it.
  int dx = std::max({x - icon_x_, icon_x_ - (x + width), 0});
  int dy = std::max({y - icon_y_, icon_y_ - (y + height), 0});
  EXPECT_LE(dx + dy, 24) << "menu at " << x << "," << y << " size " << width << "x" << height;
  ASSERT_EQ(e2e::Helper({"key", "0x1B"}).code, 0);  // Escape
  EXPECT_TRUE(e2e::Eventually([] { return !e2e::WindowExists("#32768", ""); }, 10000));
  e2e::Kill(tray);
}

TEST_F(TrayUnderShell, AfterAModeChangeOrAForgottenIconTheIconIsBackAndAnswers) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-back");
  pid_t tray = StartTray(folder);
  ASSERT_TRUE(IconShows(empty));
  Post("0x111", "209");  // left click: Normal
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == Written(1, 1); }, 10000));
  ASSERT_TRUE(IconShows(empty));
  e2e::SleepMs(2000);  // the icon's deletion and return take their time under Wine
  ClickIcon(1);
  ASSERT_TRUE(BlankerRuns(20000)) << "a click after the mode change";
  EndBlanker();

  ASSERT_EQ(e2e::Helper({"forget-icon", "DOCKWIN", "dockwin", kIconId}).code, 0);
  EXPECT_TRUE(e2e::Eventually([&] { return RightEnd() == empty; }, 10000)) << "the shell still shows it";
  ClickIcon(1);
  EXPECT_FALSE(BlankerRuns(3000)) << "a click on a forgotten icon does nothing";
  ASSERT_EQ(e2e::Helper({"broadcast-registered", "TaskbarCreated"}).code, 0);
  EXPECT_TRUE(IconShows(empty)) << "TaskbarCreated brings it back";
  ClickIcon(1);
  EXPECT_TRUE(BlankerRuns(20000)) << "and it answers a click";
  EndBlanker();
  e2e::Kill(tray);
}

}  // namespace
