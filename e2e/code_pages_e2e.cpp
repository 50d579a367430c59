// The suite on a Windows of any language: each test runs the real programs
// under a Chinese (936) and a Western (1252) code page. Texts must read as
// their characters, and a path must stay the path it is, in both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <string>

#include "common/texts.h"
#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "tray/tray.h"

namespace {

struct CodePage {
  const char* locale;  // Wine takes its ANSI code page from LC_ALL
  const char* name;
};
const CodePage kCodePages[] = {{"zh_CN.UTF-8", "936"}, {"en_US.UTF-8", "1252"}};

// Every Wine program started from here on runs under that code page.
void Use(const CodePage& page) { setenv("LC_ALL", page.locale, 1); }

// Outside both code pages, and ending in a character whose second GBK byte is a backslash.
std::string AnyLanguage(const CodePage& page) { return std::string(u8"Łukasz 张 é 工具誠 ") + page.name; }

std::string Tray(const std::string& folder_name) {
  std::string folder = e2e::InstallFolder(folder_name, {"nocturotray.exe", "panelblank.exe", "startnocturotray.vbs"});
  e2e::WriteFile(folder + "/tpinfo.ini", "[setting]\r\ntype=1\r\ndefault=1");
  return folder;
}

void Command(uint32_t id) { ASSERT_TRUE(e2e::Post("DOCKWIN", "dockwin", platform::kWmCommand, id)); }

void EndTray(pid_t tray) {
  Command(ID_EXIT);
  EXPECT_EQ(e2e::WaitExit(tray, 20000), 0);
}

// Points the user's Startup folder at `folder`, as any program of the user can.
void SetStartupFolder(const std::string& windows_path) {
  e2e::RunWine(e2e::ToolsDir(), "reg", {"add", "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                                        "/v", "Startup", "/t", "REG_EXPAND_SZ", "/d", windows_path, "/f"}, 30000);
}

TEST(CodePagesUnderWine, TheTrayAndTheDaemonInAFolderNamedInAnyLanguageStartAndLinkToIt) {
  const std::string installed_tray = e2e::StartupFolder() + "/startnocturotray.vbs.lnk";
  const std::string installed_daemon = e2e::StartupFolder() + "/startnocturodaemon.vbs.lnk";
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    Use(page);
    std::string folder = Tray(AnyLanguage(page));
    e2e::CopyFile(e2e::PackageDir() + "/nocturodaemon.exe", folder + "/nocturodaemon.exe");
    e2e::CopyFile(std::string(NOCTURO_SOURCE_DIR) + "/dist/startnocturodaemon.vbs", folder + "/startnocturodaemon.vbs");
    e2e::WriteFile(folder + "/info.ini", "[setting]\r\ndaemon=1\r\n");
    std::remove(installed_tray.c_str());
    std::remove(installed_daemon.c_str());

    pid_t tray = e2e::StartWine(folder, folder + "/nocturotray.exe", {});
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "the tray refused its own folder";
    Command(ID_AUTOSTART_ON);
    pid_t daemon = e2e::StartWine(folder, folder + "/nocturodaemon.exe", {});
    EXPECT_TRUE(e2e::WindowExists("RenderWindow", "NocturoDaemon", 20000)) << "the daemon refused its own folder";
    for (const auto& [link, script] : {std::pair{installed_tray, "startnocturotray.vbs"},
                                       std::pair{installed_daemon, "startnocturodaemon.vbs"}}) {
      ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(link); }, 20000)) << script;
      e2e::LinkInfo info = e2e::ReadLink(link);
      EXPECT_EQ(info.target, e2e::WindowsPath(folder) + "\\" + script);
      EXPECT_EQ(info.workdir, e2e::WindowsPath(folder));
    }
    e2e::Kill(daemon);
    EndTray(tray);
    std::remove(installed_tray.c_str());
    std::remove(installed_daemon.c_str());
  }
}

// A narrow call turned U+FF02 into a real '"', which ended the copy
// command's quotes and ran the rest in the elevated cmd.exe.
TEST(CodePagesUnderWine, AStartupFolderNamedWithAFullWidthQuoteTakesTheLinkAndRunsNothingElse) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    Use(page);
    std::string startup = e2e::NewFolder(std::string(u8"startup q＂ & md pwnd & ＂q ") + page.name);
    SetStartupFolder(e2e::WindowsPath(startup));
    std::string folder = Tray(std::string("tray quote ") + page.name);
    pid_t tray = e2e::StartWine(folder, folder + "/nocturotray.exe", {});
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
    Command(ID_AUTOSTART_ON);
    EXPECT_TRUE(e2e::Eventually([&] { return e2e::Exists(startup + "/startnocturotray.vbs.lnk"); }, 20000))
        << "the link is not in the Startup folder";
    EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(folder + "/startnocturotray.vbs.lnk"); }, 10000));
    EXPECT_FALSE(e2e::Exists(folder + "/pwnd")) << "a command hidden in the folder's name ran";
    EndTray(tray);
    SetStartupFolder("%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp");
  }
}

// A narrow call read "Progrâm" as "Program": the genuine tray took a folder
// of someone else's making for its own and ran the blanker planted there.
TEST(CodePagesUnderWine, ATrayStartedInALookAlikeOfItsFolderEndsAtOnceAndRunsNothingThere) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    Use(page);
    std::string genuine = Tray(std::string("Program Files ") + page.name);
    std::string planted = Tray(std::string(u8"Progrâm Files ") + page.name);
    e2e::PlantStandIn(planted, "panelblank.exe");
    EXPECT_EQ(e2e::RunWine(planted, genuine + "/nocturotray.exe", {}, 20000).code, 0);
    EXPECT_FALSE(e2e::WindowExists("DOCKWIN", "dockwin"));
    EXPECT_FALSE(e2e::Exists(planted + "/panelblank.exe.started"));
  }
}

// A narrow snapshot read "ｎｏｃｔｕｒｏｔｒａｙ.exe" as "nocturotray.exe" under a Western
// code page, and the genuine tray refused to start, counting it as a second copy.
TEST(CodePagesUnderWine, TheTrayStartsBesideALookAlikeInFullWidthLetters) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    Use(page);
    e2e::Program look_alike(e2e::StartStandIn(std::string("look-alike ") + page.name, u8"ｎｏｃｔｕｒｏｔｒａｙ.exe"));
    std::string folder = Tray(std::string("beside a look-alike ") + page.name);
    e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
    EXPECT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "the tray counted the look-alike as itself";
  }
}

TEST(CodePagesUnderWine, TheProbesReportInAConsoleReadsAsItsCharacters) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    Use(page);
    std::string folder = e2e::InstallFolder(std::string("probe console ") + page.name, {"panelprobe.exe"});
    auto shown = std::async(std::launch::async, [&] {
      return e2e::ConsoleShows(e2e::WindowsPath(folder + "/panelprobe.exe"), 12000);
    });
    ASSERT_TRUE(e2e::WindowExists("RenderWindow", "Nocturo", 20000));
    ASSERT_TRUE(e2e::ReportDisplay("panelprobe.exe", 1));
    EXPECT_EQ(shown.get(),
              u8"本工具只关闭显示器，电脑仍在运行\n官方下载地址 nocturo.example.com\n"
              u8"若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键\n"
              u8"检测到屏幕状态 success Nocturo普通版、锁屏版、增强版、辅助工具可以使用\n\n睡眠模式检测\n[stand-in /a from panelprobe.exe]\n");
  }
}

// On Wine's taskbar: the tooltip as the shell shows it, and the menu drawn the
// same under both code pages (its text is right under 936, as it always was).
class CodePagesUnderShell : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { e2e::UseShellDesktop(true); }
  static void TearDownTestSuite() { e2e::UseShellDesktop(false); }
};

TEST_F(CodePagesUnderShell, TheTooltipAndTheMenuReadAsTheirCharacters) {
  e2e::WindowInfo bar = e2e::WaitWindow("Shell_TrayWnd", "", 20000);
  ASSERT_GT(bar.width, 0) << "no taskbar";
  const int icon_x = bar.x + bar.width - 10, icon_y = bar.y + bar.height / 2;
  std::string menus[2];
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(kCodePages[i].name);
    Use(kCodePages[i]);
    std::string folder = Tray(std::string("shell texts ") + kCodePages[i].name);
    e2e::WriteFile(folder + "/tpinfo.ini", "[setting]\r\ntype=2\r\ndefault=2");
    pid_t tray = e2e::StartWine(folder, folder + "/nocturotray.exe", {});
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
    e2e::SleepMs(1000);
    e2e::Move(icon_x - 2, icon_y);
    e2e::SleepMs(300);
    e2e::Move(icon_x, icon_y);
    EXPECT_EQ(e2e::WindowText("tooltips_class32", 10000), u8"Nocturo锁屏版");
    e2e::ClickAt(icon_x, icon_y, 3);
    e2e::WindowInfo menu = e2e::WaitWindow("#32768", "", 10000);
    ASSERT_GT(menu.width, 0) << "no menu";
    e2e::Move(10, 10);  // no item highlighted
    e2e::SleepMs(1000);
    menus[i] = e2e::Region(menu.x, menu.y, menu.width, menu.height);
    ASSERT_TRUE(e2e::Key(0x1B));
    EndTray(tray);
  }
  EXPECT_EQ(menus[0], menus[1]) << "the menu reads otherwise under a Western code page";
}

}  // namespace
