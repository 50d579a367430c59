// The real idle daemon under Wine: install, single instance, removal, and a
// minute of idleness.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "platform/win_values.h"

namespace {

std::string Installed() { return e2e::StartupFolder() + "/startnocturodaemon.vbs.lnk"; }

// An installation folder with the daemon, its script and `settings` in info.ini.
std::string Install(const std::string& name, const std::string& settings, bool script = true) {
  std::string folder = e2e::NewFolder(name);
  e2e::CopyFile(e2e::PackageDir() + "/nocturodaemon.exe", folder + "/nocturodaemon.exe");
  if (script)
    e2e::CopyFile(std::string(NOCTURO_SOURCE_DIR) + "/dist/startnocturodaemon.vbs",
                  folder + "/startnocturodaemon.vbs");
  if (!settings.empty()) e2e::WriteFile(folder + "/info.ini", "[setting]\r\n" + settings);
  return folder;
}

bool DaemonWindow(int timeout_ms) {
  e2e::WindowInfo w = e2e::WaitWindow("RenderWindow", "NocturoDaemon", timeout_ms);
  return w.found && w.visible == 0;
}

// A stand-in daemon started from another folder, as an older copy would run.
pid_t StandInDaemon(const std::string& name) {
  std::string folder = e2e::NewFolder(name);
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/nocturodaemon.exe");
  pid_t pid = e2e::StartWine(folder, folder + "/nocturodaemon.exe", {});
  EXPECT_TRUE(e2e::Eventually([&] { return e2e::Exists(folder + "/nocturodaemon.exe.started"); }, 20000));
  return pid;
}

// A removal started in `folder`: it ends with 0, ends `running` and deletes
// the link. Its taskkill runs on in its own cmd.exe for a moment; the next
// daemon must not start within its reach.
void ExpectRemoval(const std::string& folder, pid_t running) {
  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturodaemon.exe", {}, 30000).code, 0);
  EXPECT_EQ(e2e::WaitExit(running, 20000), 0) << "the running daemon was ended";
  EXPECT_FALSE(e2e::Exists(Installed()));
  e2e::SleepMs(1000);
  for (const char* image : {"cmd.exe", "taskkill.exe"})
    e2e::WaitProcess(image, false, 20000);
}

TEST(DaemonUnderWine, RemovalDeletesTheLinkAndEndsARunningDaemonWithZero) {
  for (const char* settings : {"", "daemon=2\r\n"}) {
    SCOPED_TRACE(*settings ? settings : "no info.ini");
    e2e::WriteFile(Installed(), "a link");
    pid_t running = StandInDaemon("daemon-running");
    ExpectRemoval(Install("daemon-remove", settings), running);
  }
}

TEST(DaemonUnderWine, AnEnabledDaemonInstallsItsLinkStaysSingleAndHidden) {
  std::remove(Installed().c_str());

  std::string folder = Install("daemon on", "daemon=1\r\n");
  pid_t daemon = e2e::StartWine(folder, folder + "/nocturodaemon.exe", {});
  ASSERT_TRUE(e2e::Eventually([] { return e2e::Exists(Installed()); }, 20000));
  e2e::LinkInfo link = e2e::ReadLink(e2e::WindowsPath(Installed()));
  EXPECT_EQ(link.target, e2e::WindowsPath(folder) + "\\startnocturodaemon.vbs");
  EXPECT_EQ(link.workdir, e2e::WindowsPath(folder));
  EXPECT_TRUE(DaemonWindow(20000)) << "a hidden NocturoDaemon window";
  EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(folder + "/startnocturodaemon.vbs.lnk"); }, 10000));
  std::string bytes = e2e::ReadFile(Installed());

  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturodaemon.exe", {}, 20000).code, 0) << "a second one ends";
  EXPECT_EQ(e2e::WaitExit(daemon, 3000), -1) << "the first goes on";
  EXPECT_EQ(e2e::ReadFile(Installed()), bytes) << "and the link is left alone";

  ExpectRemoval(Install("daemon-off", "daemon=0\r\n"), daemon);  // switching it off ends it
}

TEST(DaemonUnderWine, WithoutItsScriptOrInAnotherFolderItEndsAtOnceAndInstallsNothing) {
  std::remove(Installed().c_str());
  std::string no_script = Install("daemon-no-script", "daemon=1\r\n", false);
  EXPECT_EQ(e2e::RunWine(no_script, no_script + "/nocturodaemon.exe", {}, 20000).code, 0);
  // A folder of someone else's making, with a planted blanker, as a rewritten
  // logon link would start the genuine daemon in it.
  std::string elsewhere = Install("daemon-elsewhere", "daemon=1\r\nminute=1\r\n");
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", elsewhere + "/nocturo.exe");
  EXPECT_EQ(e2e::RunWine(elsewhere, no_script + "/nocturodaemon.exe", {}, 20000).code, 0);
  EXPECT_FALSE(e2e::Exists(Installed()));
  EXPECT_FALSE(DaemonWindow(0));
}

TEST(DaemonUnderWine, AnInstalledLinkStaysByteForByteAndOneForEveryUserIsNotDoubled) {
  std::string for_everyone = std::string(getenv("WINEPREFIX")) +
                             "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/StartUp/" +
                             "startnocturodaemon.vbs.lnk";
  for (const std::string& link : {Installed(), for_everyone}) {
    SCOPED_TRACE(link);
    e2e::WriteFile(link, "a link to another folder");
    std::string folder = Install("daemon-keeps", "daemon=1\r\n");
    pid_t daemon = e2e::StartWine(folder, folder + "/nocturodaemon.exe", {});
    ASSERT_TRUE(DaemonWindow(20000));
    e2e::SleepMs(2000);
    EXPECT_EQ(e2e::ReadFile(link), "a link to another folder");
    EXPECT_EQ(e2e::Exists(Installed()), link == Installed()) << "no link of the user's own";
    EXPECT_FALSE(e2e::Exists(folder + "/startnocturodaemon.vbs.lnk"));
    e2e::Kill(daemon);
    std::remove(link.c_str());
  }
}

// Slow: keys with the mouse still keep the blanker away; a minute after the
// last key it comes; a cursor move postpones the next.
TEST(DaemonUnderWine, TypingIsActivityAMinuteWithoutAnyStartsTheBlankerAndACursorMovePostponesIt) {
  using Clock = std::chrono::steady_clock;
  std::string folder = Install("daemon-idle", "daemon=1\r\nminute=1\r\n");
  e2e::WriteFile(Installed(), "installed");  // no install: the minute starts at once
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/nocturo.exe");
  std::string started = folder + "/nocturo.exe.started";
  pid_t daemon = e2e::StartWine(folder, folder + "/nocturodaemon.exe", {});
  ASSERT_TRUE(DaemonWindow(20000));
  // Untouched, the blanker would come about 60 s after the start.
  for (int key = 0; key < 4; ++key) {
    ASSERT_TRUE(e2e::Key(0x10));  // Shift, sent as a keyboard sends it
    EXPECT_FALSE(e2e::Eventually([&] { return e2e::Exists(started); }, 20000)) << "typing is activity";
  }
  Clock::time_point t0 = Clock::now() - std::chrono::seconds(20);  // the last key
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(started); }, 90000));
  long first = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - t0).count();
  std::cout << "[ idle     ] blanker started " << first << " s after the last key\n";
  EXPECT_GE(first, 55);
  EXPECT_LE(first, 80);
  e2e::EndAll("nocturo.exe");
  std::remove(started.c_str());
  e2e::SleepMs(25000);
  e2e::Move(321, 123);
  // Unmoved, the next start would come 60 s after the first; the move puts it at about 90 s.
  EXPECT_FALSE(e2e::Eventually([&] { return e2e::Exists(started); }, 50000)) << "the move postponed it";
  e2e::Kill(daemon);
  e2e::EndAll("nocturo.exe");
  std::remove(Installed().c_str());
}

// Slow: with the display reported off a minute of idleness starts nothing;
// a message posted to the display-state window is dropped, never dispatched.
TEST(DaemonUnderWine, WithTheDisplayReportedOffNoBlankerStartsAndAPostedCloseLeavesTheWindow) {
  std::string folder = Install("daemon-display-off", "daemon=1\r\nminute=1\r\n");
  e2e::WriteFile(Installed(), "installed");
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/nocturo.exe");
  pid_t daemon = e2e::StartWine(folder, folder + "/nocturodaemon.exe", {});
  ASSERT_TRUE(DaemonWindow(20000));
  ASSERT_TRUE(e2e::Post("RenderWindow", "NocturoDaemon", platform::kWmClose));
  ASSERT_TRUE(e2e::ReportDisplay("nocturodaemon.exe", 0));
  EXPECT_FALSE(e2e::Eventually([&] { return e2e::Exists(folder + "/nocturo.exe.started"); }, 80000))
      << "a blanker started while the display was off";
  EXPECT_TRUE(DaemonWindow(0)) << "the posted WM_CLOSE was dropped";
  EXPECT_EQ(e2e::WaitExit(daemon, 0), -1);
  e2e::Kill(daemon);
  e2e::EndAll("nocturo.exe");
  std::remove(Installed().c_str());
}

}  // namespace
