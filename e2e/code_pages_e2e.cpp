// The suite on a Windows of any language: each test runs the real programs
// under a Chinese (936) and a Western (1252) code page. Texts must read as
// their characters, and a path must stay the path it is, in both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "common/texts.h"
#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "tray/tray.h"

namespace {

struct CodePage {
  const char* locale;  // Wine takes its ANSI code page from LC_ALL
  const char* name;
  int number;
};
const CodePage kCodePages[] = {{"zh_CN.UTF-8", "936", 936}, {"en_US.UTF-8", "1252", 1252}};

// Every Wine program started from here on runs under that code page: true
// when Wine took it, as a program of the session reads it.
bool Use(const CodePage& page) {
  setenv("LC_ALL", page.locale, 1);
  return e2e::CodePage() == page.number;
}
#define USE(page) ASSERT_TRUE(Use(page)) << "Wine did not take code page " << (page).name

// Outside both code pages, and ending in a character whose second GBK byte is a backslash.
std::string AnyLanguage(const CodePage& page) { return std::string(u8"Łukasz 张 é 工具誠 ") + page.name; }

std::string Tray(const std::string& folder_name) {
  std::string folder = e2e::InstallFolder(folder_name, {"nocturotray.exe", "panelblank.exe", "startnocturotray.vbs"});
  e2e::WriteFile(folder + "/tpinfo.ini", "[setting]\r\ntype=1\r\ndefault=1");
  return folder;
}

void Command(uint32_t id) { ASSERT_TRUE(e2e::Post("DOCKWIN", "dockwin", platform::kWmCommand, id)); }

void EndTray(e2e::Program& tray) {
  Command(ID_EXIT);
  EXPECT_EQ(tray.WaitExit(20000), 0);
}

const char kShellFolders[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// Points the user's Startup folder at `folder`, as any program of the user
// can; true when reg did. The guard puts Wine's own back on any exit.
bool SetStartupFolder(const std::string& windows_path) {
  return e2e::RunWine(e2e::ToolsDir(), "reg", {"add", kShellFolders, "/v", "Startup", "/t", "REG_EXPAND_SZ", "/d",
                                              windows_path, "/f"}, 30000).code == 0;
}
e2e::Undo RestoreStartupFolder() {
  return e2e::Undo::Run(std::string("\"$WINELOADER\" reg add '") + kShellFolders + "' /v Startup /t REG_EXPAND_SZ /d "
                        "'%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp' /f >/dev/null 2>&1");
}

TEST(CodePagesUnderWine, TheTrayAndTheDaemonInAFolderNamedInAnyLanguageStartAndLinkToIt) {
  const std::string installed_tray = e2e::StartupFolder() + "/startnocturotray.vbs.lnk";
  const std::string installed_daemon = e2e::StartupFolder() + "/startnocturodaemon.vbs.lnk";
  e2e::Undo links = e2e::Undo::Run("rm -f '" + installed_tray + "' '" + installed_daemon + "'");
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
    std::string folder = Tray(AnyLanguage(page));
    e2e::CopyFile(e2e::PackageDir() + "/nocturodaemon.exe", folder + "/nocturodaemon.exe");
    e2e::CopyFile(std::string(NOCTURO_SOURCE_DIR) + "/dist/startnocturodaemon.vbs", folder + "/startnocturodaemon.vbs");
    e2e::WriteFile(folder + "/info.ini", "[setting]\r\ndaemon=1\r\n");
    std::remove(installed_tray.c_str());
    std::remove(installed_daemon.c_str());

    ASSERT_TRUE(e2e::NoTrayRuns()) << "a tray from before still runs";
    e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "the tray refused its own folder";
    Command(ID_AUTOSTART_ON);
    e2e::Program daemon(e2e::StartWine(folder, folder + "/nocturodaemon.exe", {}));
    EXPECT_TRUE(e2e::WindowExists("RenderWindow", "NocturoDaemon", 20000)) << "the daemon refused its own folder";
    for (const auto& [link, script] : {std::pair{installed_tray, "startnocturotray.vbs"},
                                       std::pair{installed_daemon, "startnocturodaemon.vbs"}}) {
      ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(link); }, 20000)) << script;
      e2e::LinkInfo info = e2e::ReadLink(link);
      EXPECT_EQ(info.target, e2e::WindowsPath(folder) + "\\" + script);
      EXPECT_EQ(info.workdir, e2e::WindowsPath(folder));
    }
    EndTray(tray);
  }
}

// A narrow call turned U+FF02 into a real '"', which ended the copy
// command's quotes and ran the rest in the elevated cmd.exe.
TEST(CodePagesUnderWine, AStartupFolderNamedWithAFullWidthQuoteTakesTheLinkAndRunsNothingElse) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
    std::string startup = e2e::NewFolder(std::string(u8"startup q＂ & md pwnd & ＂q ") + page.name);
    e2e::Undo restore = RestoreStartupFolder();
    ASSERT_TRUE(SetStartupFolder(e2e::WindowsPath(startup)));
    std::string folder = Tray(std::string("tray quote ") + page.name);
    ASSERT_TRUE(e2e::NoTrayRuns()) << "a tray from before still runs";
    e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
    Command(ID_AUTOSTART_ON);
    EXPECT_TRUE(e2e::Eventually([&] { return e2e::Exists(startup + "/startnocturotray.vbs.lnk"); }, 20000))
        << "the link is not in the Startup folder";
    EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(folder + "/startnocturotray.vbs.lnk"); }, 10000));
    EXPECT_FALSE(e2e::Exists(folder + "/pwnd")) << "a command hidden in the folder's name ran";
    EndTray(tray);
  }
}

// A narrow call read "Progrâm" as "Program": the genuine tray took a folder
// of someone else's making for its own, and would run the blanker there.
TEST(CodePagesUnderWine, ATrayStartedInALookAlikeOfItsFolderEndsAtOnce) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
    std::string genuine = Tray(std::string("Program Files ") + page.name);
    std::string planted = Tray(std::string(u8"Progrâm Files ") + page.name);
    ASSERT_TRUE(e2e::WaitProcess("nocturotray.exe", false, 10000)) << "a tray runs: this one would end for that";
    EXPECT_EQ(e2e::RunWine(planted, genuine + "/nocturotray.exe", {}, 20000).code, 0);
  }
}

// A narrow snapshot read "ｎｏｃｔｕｒｏｔｒａｙ.exe" as "nocturotray.exe" under a Western
// code page, and the genuine tray refused to start, counting it as a second copy.
TEST(CodePagesUnderWine, TheTrayStartsBesideALookAlikeInFullWidthLetters) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
    e2e::Program look_alike(e2e::StartStandIn(std::string("look-alike ") + page.name, u8"ｎｏｃｔｕｒｏｔｒａｙ.exe"));
    std::string folder = Tray(std::string("beside a look-alike ") + page.name);
    ASSERT_TRUE(e2e::NoTrayRuns()) << "a tray from before still runs";
    e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
    EXPECT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "the tray counted the look-alike as itself";
  }
}

TEST(CodePagesUnderWine, TheProbesReportInAConsoleReadsAsItsCharacters) {
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
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

// The texts of the tray's menu items as Wine's +menu trace shows InsertMenuW
// taking them, in order: str L"\666e\901a\7248" for 普通版. The window menu's
// commands (0xF000 up) are left out.
std::vector<std::string> MenuTexts(const std::string& trace) {
  static const std::regex kItem(R"re(InsertMenuW .* id ([0-9a-f]+), str L"((?:[^"\\]|\\.)*)")re");
  std::vector<std::string> texts;
  std::istringstream in(trace);
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (!std::regex_search(line, match, kItem)) continue;
    unsigned long id = std::stoul(match[1], nullptr, 16);
    if (id >= 0xF000 && id < 0xF200) continue;
    const std::string escaped = match[2];
    std::string utf8;
    for (size_t i = 0; i < escaped.size(); ++i) {
      unsigned long c = static_cast<unsigned char>(escaped[i]);
      if (c == '\\' && i + 4 < escaped.size() && isxdigit(static_cast<unsigned char>(escaped[i + 1]))) {
        c = std::stoul(escaped.substr(i + 1, 4), nullptr, 16);
        i += 4;
      } else if (c == '\\' && ++i < escaped.size()) {
        c = escaped[i] == 't' ? '\t' : static_cast<unsigned char>(escaped[i]);
      }
      if (c < 0x80) {
        utf8 += static_cast<char>(c);
      } else if (c < 0x800) {
        utf8 += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
      } else {
        utf8 += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                 static_cast<char>(0x80 | (c & 0x3F))};
      }
    }
    texts.push_back(utf8);
  }
  return texts;
}

TEST(CodePagesUnderWine, TheMenuItemsReadAsTheirCharacters) {
  const std::vector<std::string> menu = {u8"普通版", u8"锁屏版", u8"增强版", u8"退出", u8"是", u8"否", u8"开机启动",
                                         u8"普通版", u8"锁屏版", u8"增强版", u8"版本列表", u8"鼠标左键",
                                         u8"无", "Ctrl+Alt+B", "Ctrl+Alt+M", "Ctrl+Shift+F12", u8"快捷键"};
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
    std::string folder = Tray(std::string("menu texts ") + page.name), trace = folder + "/trace.txt";
    setenv("WINEDEBUG", "+menu", 1);
    ASSERT_TRUE(e2e::NoTrayRuns()) << "a tray from before still runs";
    e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}, "", trace));
    setenv("WINEDEBUG", "-all", 1);
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
    ASSERT_TRUE(e2e::Post("DOCKWIN", "dockwin", kWmTrayIcon, kTrayIconId, platform::kWmRButtonDown));
    ASSERT_TRUE(e2e::WindowExists("#32768", "", 10000)) << "no menu";
    EXPECT_EQ(MenuTexts(e2e::ReadFile(trace)), menu);
  }
}

// On Wine's taskbar: the tooltip as the shell shows it.
class CodePagesUnderShell : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { e2e::UseShellDesktop(true); }
  static void TearDownTestSuite() { e2e::UseShellDesktop(false); }
};

TEST_F(CodePagesUnderShell, TheTooltipReadsAsItsCharacters) {
  e2e::WindowInfo bar = e2e::WaitWindow("Shell_TrayWnd", "", 20000);
  ASSERT_GT(bar.width, 0) << "no taskbar";
  const int icon_x = bar.x + bar.width - 10, icon_y = bar.y + bar.height / 2;
  for (const CodePage& page : kCodePages) {
    SCOPED_TRACE(page.name);
    USE(page);
    std::string folder = Tray(std::string("shell texts ") + page.name);
    e2e::WriteFile(folder + "/tpinfo.ini", "[setting]\r\ntype=2\r\ndefault=2");
    ASSERT_TRUE(e2e::NoTrayRuns()) << "a tray from before still runs";
    e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
    ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
    e2e::SleepMs(1000);
    e2e::Move(icon_x - 2, icon_y);
    e2e::SleepMs(300);
    e2e::Move(icon_x, icon_y);
    EXPECT_EQ(e2e::WindowText("tooltips_class32", 10000), u8"Nocturo锁屏版");
    EndTray(tray);
  }
}

}  // namespace
