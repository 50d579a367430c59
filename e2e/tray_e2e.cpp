// The real tray under Wine, driven through its window as the shell would drive it.
#include <gtest/gtest.h>

#include <string>

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

TEST(TrayUnderWine, ASecondCopyOrAMissingFileEndsItAtOnceWithZero) {
  std::string folder = Install("tray-single");
  pid_t tray = StartTray(folder);
  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturotray.exe", {}, 20000).code, 0);
  EXPECT_EQ(e2e::WaitExit(tray, 500), -1) << "the first copy goes on";
  e2e::Kill(tray);
  for (const char* missing : {"startnocturotray.vbs", "nocturotray.exe", "panelblank.exe", "tpinfo.ini"}) {
    SCOPED_TRACE(missing);
    std::string bare = Install("tray-without", missing);
    std::string program = e2e::PackageDir() + "/nocturotray.exe";  // run from elsewhere
    EXPECT_EQ(e2e::RunWine(bare, program, {}, 20000).code, 0);
    EXPECT_FALSE(e2e::WindowExists("DOCKWIN", "dockwin"));
  }
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

}  // namespace
