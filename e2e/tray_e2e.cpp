// The real tray under Wine, driven through its window as the shell would drive it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "tray/tray.h"

namespace {

const std::string kLink = "startnocturotray.vbs.lnk";

std::string Written(int type, int left_click_mode) {
  return "[setting]\r\ntype=" + std::to_string(type) + "\r\ndefault=" + std::to_string(left_click_mode);
}

// An installation folder with the tray's four files; `skip` leaves one out.
std::string Install(const std::string& name, const std::string& skip = "") {
  std::vector<std::string> files;
  for (const char* file : {"nocturotray.exe", "panelblank.exe", "startnocturotray.vbs"})
    if (skip != file) files.push_back(file);
  std::string folder = e2e::InstallFolder(name, files);
  if (skip != "tpinfo.ini") e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 1));
  return folder;
}

e2e::Program StartTray(const std::string& folder) {
  EXPECT_TRUE(e2e::NoTrayRuns()) << "a tray from before still runs";
  e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
  EXPECT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "no tray window";
  return tray;
}

void Post(uint32_t message, uintptr_t wparam, intptr_t lparam = 0) {
  ASSERT_TRUE(e2e::Post("DOCKWIN", "dockwin", message, wparam, lparam))
      << "trays running: " << e2e::CountProcess("nocturotray.exe");
}
void Command(uint32_t id) { Post(platform::kWmCommand, id); }
void TrayIcon(intptr_t mouse_message) { Post(kWmTrayIcon, kTrayIconId, mouse_message); }

bool BlankerRuns(int timeout_ms) { return e2e::WaitProcess("panelblank.exe", true, timeout_ms); }

// A blanker ends on a cursor move once armed.
void EndBlanker() {
  for (int i = 0; i < 30 && BlankerRuns(0); ++i) {
    e2e::Move(200 + 5 * i, 200);
    e2e::SleepMs(1000);
  }
  EXPECT_FALSE(BlankerRuns(0));
}

TEST(TrayUnderWine, ALeftPressWritesTheFileAndStartsTheBlanker) {
  std::string folder = Install("tray-left");
  e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 3));
  e2e::Program tray = StartTray(folder);
  TrayIcon(platform::kWmLButtonDown);
  // The tray writes the file before it starts the blanker: a failure says which half failed.
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == Written(3, 3); }, 20000))
      << "the tray did not take the press";
  ASSERT_TRUE(BlankerRuns(20000)) << "the press was taken; cmd.exe " << e2e::CountProcess("cmd.exe") << ", start.exe "
                                  << e2e::CountProcess("start.exe") << " still running";
  EndBlanker();
}

TEST(TrayUnderWine, TheMenuOpensOnTheRightPressAndItsCommandsWriteTheFile) {
  std::string folder = Install("tray-menu");
  e2e::Program tray = StartTray(folder);
  TrayIcon(platform::kWmRButtonDown);
  EXPECT_TRUE(e2e::WindowExists("#32768", "", 10000)) << "the popup menu shows";
  Post(platform::kWmCancelMode, 0);  // closes it
  EXPECT_TRUE(e2e::Eventually([] { return !e2e::WindowExists("#32768", ""); }, 10000));
  ASSERT_TRUE(e2e::BroadcastRegistered("TaskbarCreated"));
  const std::pair<uint32_t, std::string> rows[] = {{ID_CLICK_ENHANCED, Written(3, 3)},
                                                    {ID_CLICK_MENU, Written(0, 0)},
                                                    {ID_CLICK_NORMAL, Written(1, 1)},
                                                    {ID_RUN_LOCKSCREEN, Written(2, 1)}};
  for (const auto& row : rows) {
    SCOPED_TRACE("command " + std::to_string(row.first));
    Command(row.first);
    EXPECT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == row.second; }, 10000))
        << e2e::ReadFile(folder + "/tpinfo.ini");
  }
  EXPECT_TRUE(BlankerRuns(20000)) << "the top-level item starts one";
  EndBlanker();
}

TEST(TrayUnderWine, YesInstallsTheStartupLinkToThisFolderAndNoRemovesIt) {
  std::string folder = Install("tray autostart");  // a blank in the path, as in Program Files
  std::string installed = e2e::StartupFolder() + "/" + kLink;
  e2e::WriteFile(installed, "an old link");
  e2e::Program tray = StartTray(folder);
  Command(ID_AUTOSTART_ON);
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(installed) != "an old link"; }, 15000));
  e2e::LinkInfo link = e2e::ReadLink(installed);
  EXPECT_EQ(link.target, e2e::WindowsPath(folder) + "\\startnocturotray.vbs");
  EXPECT_EQ(link.workdir, e2e::WindowsPath(folder));
  EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(folder + "/" + kLink); }, 10000))
      << "no local link is left";
  // Under Wine no folder is one only administrators can change: no logon task.
  std::error_code absent;
  EXPECT_EQ(std::filesystem::directory_iterator(std::string(getenv("WINEPREFIX")) + "/drive_c/windows/system32/tasks/Nocturo",
                                                absent),
            std::filesystem::directory_iterator());
  Command(ID_AUTOSTART_OFF);
  EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(installed); }, 10000));
}

TEST(TrayUnderWine, ASecondCopyAMissingFileOrAnotherFolderEndsItAtOnceWithZero) {
  std::string folder = Install("tray-single");
  e2e::Program tray = StartTray(folder);
  ASSERT_EQ(e2e::CountProcess("nocturotray.exe"), 1);
  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturotray.exe", {}, 20000).code, 0);
  EXPECT_TRUE(tray.Running()) << "the first copy goes on";
  tray = e2e::Program();
  for (const char* missing : {"startnocturotray.vbs", "panelblank.exe", "tpinfo.ini"}) {
    SCOPED_TRACE(missing);
    std::string bare = Install("tray-without", missing);
    ASSERT_TRUE(e2e::NoTrayRuns());
    EXPECT_EQ(e2e::RunWine(bare, bare + "/nocturotray.exe", {}, 20000).code, 0);
  }
  // The genuine tray started in a folder of someone else's making, with the
  // four files, as a rewritten logon link would start it.
  std::string planted = Install("tray-planted");
  ASSERT_TRUE(e2e::NoTrayRuns());
  EXPECT_EQ(e2e::RunWine(planted, e2e::PackageDir() + "/nocturotray.exe", {}, 20000).code, 0);
}

TEST(TrayUnderWine, ExitAndACloseRequestEndItWithZeroWhileTheBlankerGoesOn) {
  std::string folder = Install("tray-exit");
  for (bool by_menu : {true, false}) {
    SCOPED_TRACE(by_menu ? "退出" : "WM_CLOSE");
    e2e::Program tray = StartTray(folder);
    if (by_menu) {
      TrayIcon(platform::kWmLButtonDown);
      ASSERT_TRUE(BlankerRuns(20000));
    }
    by_menu ? Command(ID_EXIT) : Post(platform::kWmClose, 0);
    EXPECT_EQ(tray.WaitExit(20000), 0);
  }
  EXPECT_TRUE(BlankerRuns(0)) << "the blanker outlives the tray";
  EndBlanker();
}

TEST(LauncherScriptsUnderWine, EachStartsItsProgramInTheScriptsOwnFolder) {
  for (const std::string program : {"nocturotray", "nocturodaemon"}) {
    SCOPED_TRACE(program);
    std::string script = "start" + program + ".vbs";
    std::string folder = e2e::InstallFolder("launch " + program, {script});
    e2e::PlantStandIn(folder, program + ".exe");
    std::string elsewhere = e2e::NewFolder("launch-elsewhere");
    e2e::RunWine(elsewhere, "wscript.exe", {e2e::WindowsPath(folder + "/" + script)}, 30000);
    std::string marker = folder + "/" + program + ".exe.started";
    ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(marker); }, 20000));
    EXPECT_EQ(e2e::ReadFile(marker), e2e::WindowsPath(folder));
    e2e::EndAll(program + ".exe");
  }
}

// A signed tray starts panelblank.exe only when it carries a valid signature
// of the same certificate (Wine checks the digest and takes an unknown root).
// The sibling is the stand-in, signed or not, which leaves a mark when it runs.
// A tray renamed away as it runs (a user can, in a folder of theirs), or then
// replaced, proves nothing by the file now of its name: it starts nothing.
TEST(TrayUnderWine, ASignedTrayStartsOnlyABlankerSignedByItsOwnCertificate) {
  std::string folder = Install("tray-signed");
  std::string tray_exe = folder + "/nocturotray.exe", blanker = folder + "/panelblank.exe", unsigned_one = folder + "/unsigned";
  std::remove(tray_exe.c_str());
  ASSERT_TRUE(e2e::Sign(e2e::PackageDir() + "/nocturotray.exe", tray_exe, "signer"));
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", unsigned_one);
  const struct {
    const char* what;
    const char* certificate;  // "" unsigned
    bool changed, starts;
    const char* tray_renamed = "";  // "away", or "replaced" by an unsigned program
  } rows[] = {{"another publisher's", "other", false, false},
              {"unsigned", "", false, false},
              {"ours with a changed byte", "signer", true, false},
              {"ours", "signer", false, true},
              {"unsigned, the tray renamed away", "", false, false, "away"},
              {"unsigned, the tray replaced by an unsigned one", "", false, false, "replaced"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::remove(blanker.c_str());
    std::remove((blanker + ".started").c_str());
    if (*row.certificate) ASSERT_TRUE(e2e::Sign(unsigned_one, blanker, row.certificate));
    else e2e::CopyFile(unsigned_one, blanker);
    if (row.changed) {  // a letter of the DOS stub's message: the program still runs
      std::fstream file(blanker, std::ios::in | std::ios::out | std::ios::binary);
      file.seekp(0x60);
      file.put('#');
    }
    e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 3));
    e2e::Program tray = StartTray(folder);
    if (*row.tray_renamed) {
      ASSERT_EQ(std::rename(tray_exe.c_str(), (tray_exe + ".away").c_str()), 0);
      if (*row.tray_renamed == 'r') e2e::CopyFile(unsigned_one, tray_exe);
    }
    TrayIcon(platform::kWmLButtonDown);
    // The next command rewrites the file: the click, its check and its start are done by then.
    Command(ID_CLICK_NORMAL);
    ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == Written(1, 1); }, 20000));
    EXPECT_TRUE(e2e::WaitProcess("cmd.exe", false, 20000)) << "the start's command interpreter has ended";
    // A start would have come by now: its command interpreter has ended; a
    // loaded machine still gets a few seconds for the stand-in's mark.
    EXPECT_EQ(e2e::Eventually([&] { return e2e::Exists(blanker + ".started"); }, row.starts ? 20000 : 6000), row.starts);
    e2e::EndAll("panelblank.exe");
    if (*row.tray_renamed) std::rename((tray_exe + ".away").c_str(), tray_exe.c_str());
  }
}

// Wine told to look in a program's folder first for these DLLs, as Windows
// does for every DLL it does not pin: the signed tray's check loads its trust
// library, and what that pulls in, from the system folder only, and neither
// the tray nor the blanker it starts loads a DLL planted beside them.
TEST(TrayUnderWine, NoDllPlantedBesideTheSignedTrayAndBlankerIsLoaded) {
  // The trust library and what it loads. Not what Wine's own DLLs load and
  // Windows' do not, which Wine takes from beside any program: version.dll and
  // uxtheme.dll (its user32 and shell32, at every start), dbghelp.dll (its
  // imagehlp, pinned on Windows with all it imports).
  const char* const kPlanted[] = {"wintrust", "crypt32", "bcrypt", "rsaenh"};
  std::string folder = Install("tray-planted"), overrides = "mscoree,mshtml=;";
  for (const char* program : {"nocturotray.exe", "panelblank.exe"}) {
    std::remove((folder + "/" + program).c_str());
    ASSERT_TRUE(e2e::Sign(e2e::PackageDir() + "/" + program, folder + "/" + program, "signer"));
  }
  for (const char* name : kPlanted) {
    e2e::CopyFile(e2e::ToolsDir() + "/mark_dll.dll", folder + "/" + name + ".dll");
    overrides += std::string(name) + (name == kPlanted[3] ? "=n,b" : ",");
  }
  const std::string before = std::getenv("WINEDLLOVERRIDES") ? std::getenv("WINEDLLOVERRIDES") : "";
  setenv("WINEDLLOVERRIDES", overrides.c_str(), 1);
  struct Restore {
    std::string value;
    ~Restore() { setenv("WINEDLLOVERRIDES", value.c_str(), 1); }
  } restore{before};
  e2e::Program tray = StartTray(folder);
  TrayIcon(platform::kWmLButtonDown);
  EXPECT_TRUE(BlankerRuns(20000)) << "the signed blanker starts: the check ran, and passed";
  e2e::EndAll("panelblank.exe");
  for (const char* name : kPlanted) EXPECT_FALSE(e2e::Exists(folder + "/" + name + ".dll.loaded")) << name;
}

// The same tray on a desktop with a real taskbar, clicked with the real mouse.
class TrayUnderShell : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { e2e::UseShellDesktop(true); }
  static void TearDownTestSuite() { e2e::UseShellDesktop(false); }

  void SetUp() override {
    bar_ = e2e::WaitWindow("Shell_TrayWnd", "", 20000);
    ASSERT_GT(bar_.width, 0) << "no taskbar";
    // The notification area's last cell, at the taskbar's right end.
    icon_x_ = bar_.x + bar_.width - 10;
    icon_y_ = bar_.y + bar_.height / 2;
  }

  std::string RightEnd() const { return e2e::Region(bar_.x + bar_.width - 20, bar_.y, 20, bar_.height); }
  void ClickIcon(int button) const { e2e::ClickAt(icon_x_, icon_y_, button); }
  bool IconShows(const std::string& empty) const {
    return e2e::Eventually([&] { return RightEnd() != empty; }, 10000);
  }

  e2e::WindowInfo bar_;
  int icon_x_ = 0, icon_y_ = 0;
};

TEST_F(TrayUnderShell, TheIconComesWithTheTrayAndGoesWithExit) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-icon");
  e2e::Program tray = StartTray(folder);
  EXPECT_TRUE(IconShows(empty)) << "the taskbar's right end did not change";
  Command(ID_EXIT);
  EXPECT_EQ(tray.WaitExit(20000), 0);
  EXPECT_TRUE(e2e::Eventually([&] { return RightEnd() == empty; }, 10000)) << "the icon is still there";
}

TEST_F(TrayUnderShell, ALeftClickBlanksInTheLeftClickModeAndARightClickOpensTheMenuAtThePointer) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-click");
  e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 2));
  e2e::Program tray = StartTray(folder);
  ASSERT_TRUE(IconShows(empty));
  ClickIcon(1);
  ASSERT_TRUE(BlankerRuns(20000));
  EXPECT_EQ(e2e::ReadFile(folder + "/tpinfo.ini"), Written(2, 2));
  EndBlanker();

  ClickIcon(3);
  e2e::WindowInfo menu = e2e::WaitWindow("#32768", "", 10000);
  const int width = menu.width, height = menu.height, x = menu.x, y = menu.y;
  ASSERT_GT(width, 0) << "no menu";
  // Next to the pointer: the pointer on the menu's edge or within a few pixels of it.
  int dx = std::max({x - icon_x_, icon_x_ - (x + width), 0});
  int dy = std::max({y - icon_y_, icon_y_ - (y + height), 0});
  EXPECT_LE(dx + dy, 24) << "menu at " << x << "," << y << " size " << width << "x" << height;
  ASSERT_TRUE(e2e::Key(0x1B));  // Escape
  EXPECT_TRUE(e2e::Eventually([] { return !e2e::WindowExists("#32768", ""); }, 10000));
}

TEST_F(TrayUnderShell, AfterAModeChangeOrAForgottenIconTheIconIsBackAndAnswers) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-back");
  e2e::Program tray = StartTray(folder);
  ASSERT_TRUE(IconShows(empty));
  Command(ID_CLICK_NORMAL);
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == Written(1, 1); }, 10000));
  ASSERT_TRUE(IconShows(empty));
  e2e::SleepMs(2000);  // the icon's deletion and return take their time under Wine
  ClickIcon(1);
  ASSERT_TRUE(BlankerRuns(20000)) << "a click after the mode change";
  EndBlanker();

  ASSERT_TRUE(e2e::ForgetIcon("DOCKWIN", "dockwin", kTrayIconId));
  EXPECT_TRUE(e2e::Eventually([&] { return RightEnd() == empty; }, 10000)) << "the shell still shows it";
  ClickIcon(1);
  EXPECT_FALSE(BlankerRuns(3000)) << "a click on a forgotten icon does nothing";
  ASSERT_TRUE(e2e::BroadcastRegistered("TaskbarCreated"));
  EXPECT_TRUE(IconShows(empty)) << "TaskbarCreated brings it back";
  ClickIcon(1);
  EXPECT_TRUE(BlankerRuns(20000)) << "and it answers a click";
  EndBlanker();
}

// A combination another program holds: the balloon names it, the choice
// stays, the press is the other program's. Another one chosen, a real press
// of it (modifiers first, released last) runs the left-click mode.
TEST_F(TrayUnderShell, AHeldCombinationIsSaidInABalloonAndAChosenOnePressedBlanks) {
  std::string empty = RightEnd();
  std::string folder = Install("shell-hotkey");
  e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 2) + "\r\nhotkey=2");
  e2e::Program holder(e2e::StartHotkeyHolder(0x2 | 0x1, 'M', 60000));  // Ctrl+Alt+M
  e2e::Program tray = StartTray(folder);
  ASSERT_TRUE(IconShows(empty));
  EXPECT_EQ(e2e::WindowText("tooltips_class32", 10000),
            u8"Ctrl+Alt+M 已被另一个程序占用。请在托盘菜单“快捷键”中另选一个；托盘下次启动时会再试。");
  ASSERT_TRUE(e2e::Keys("0x11+0x12+0x4D"));
  EXPECT_FALSE(BlankerRuns(3000)) << "the press is the other program's";
  EXPECT_EQ(e2e::ReadFile(folder + "/tpinfo.ini"), Written(1, 2) + "\r\nhotkey=2");
  Command(ID_HOTKEY_NONE + 3);
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini") == Written(2, 2) + "\r\nhotkey=3"; },
                              10000));
  e2e::WriteFile(folder + "/tpinfo.ini", Written(1, 2));  // the press writes it anew, the key kept
  ASSERT_TRUE(e2e::Keys("0x11+0x10+0x7B"));                // Ctrl+Shift+F12
  ASSERT_TRUE(BlankerRuns(20000)) << "the combination did not start the blanker";
  EXPECT_EQ(e2e::ReadFile(folder + "/tpinfo.ini"), Written(2, 2) + "\r\nhotkey=3");
  EndBlanker();
}

}  // namespace
