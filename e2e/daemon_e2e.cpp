// The real idle daemon under Wine: install, single instance, removal, and a
// minute of idleness.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "platform/win_values.h"

namespace {

std::string Installed() { return e2e::StartupFolder() + "/startnocturodaemon.vbs.lnk"; }

// An installation folder with the daemon, its script and `settings` in info.ini.
std::string Install(const std::string& name, const std::string& settings,
                    const std::vector<std::string>& files = {"nocturodaemon.exe", "startnocturodaemon.vbs"}) {
  std::string folder = e2e::InstallFolder(name, files);
  if (!settings.empty()) e2e::WriteFile(folder + "/info.ini", "[setting]\r\n" + settings);
  return folder;
}

bool DaemonWindow(int timeout_ms) {
  e2e::WindowInfo w = e2e::WaitWindow("RenderWindow", "NocturoDaemon", timeout_ms);
  return w.found && w.visible == 0;
}

// A removal started in `folder`: it ends with 0, ends `running` and deletes
// the link. Its taskkill runs on in its own cmd.exe for a moment; the next
// daemon must not start within its reach.
void ExpectRemoval(const std::string& folder, e2e::Program& running) {
  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturodaemon.exe", {}, 30000).code, 0);
  EXPECT_EQ(running.WaitExit(20000), 0) << "the running daemon was ended";
  EXPECT_FALSE(e2e::Exists(Installed()));
  e2e::SleepMs(1000);
  for (const char* image : {"cmd.exe", "taskkill.exe"})
    e2e::WaitProcess(image, false, 20000);
}

TEST(DaemonUnderWine, RemovalDeletesTheLinkAndEndsARunningDaemonWithZero) {
  for (const char* settings : {"", "daemon=2\r\n"}) {
    SCOPED_TRACE(*settings ? settings : "no info.ini");
    e2e::WriteFile(Installed(), "a link");
    e2e::Program running(e2e::StartStandIn("daemon-running", "nocturodaemon.exe"));
    ExpectRemoval(Install("daemon-remove", settings), running);
  }
}

TEST(DaemonUnderWine, AnEnabledDaemonInstallsItsLinkStaysSingleAndHidden) {
  std::remove(Installed().c_str());

  std::string folder = Install("daemon on", "daemon=1\r\n");
  e2e::Program daemon(e2e::StartWine(folder, folder + "/nocturodaemon.exe", {}));
  ASSERT_TRUE(e2e::Eventually([] { return e2e::Exists(Installed()); }, 20000));
  e2e::LinkInfo link = e2e::ReadLink(Installed());
  EXPECT_EQ(link.target, e2e::WindowsPath(folder) + "\\startnocturodaemon.vbs");
  EXPECT_EQ(link.workdir, e2e::WindowsPath(folder));
  EXPECT_TRUE(DaemonWindow(20000)) << "a hidden NocturoDaemon window";
  EXPECT_TRUE(e2e::Eventually([&] { return !e2e::Exists(folder + "/startnocturodaemon.vbs.lnk"); }, 10000));
  std::string bytes = e2e::ReadFile(Installed());

  ASSERT_EQ(e2e::CountProcess("nocturodaemon.exe"), 1);
  EXPECT_EQ(e2e::RunWine(folder, folder + "/nocturodaemon.exe", {}, 20000).code, 0) << "a second one ends";
  EXPECT_EQ(daemon.WaitExit(3000), -1) << "the first goes on";
  EXPECT_EQ(e2e::ReadFile(Installed()), bytes) << "and the link is left alone";

  ExpectRemoval(Install("daemon-off", "daemon=0\r\n"), daemon);  // switching it off ends it
}

TEST(DaemonUnderWine, WithoutItsScriptOrInAnotherFolderItEndsAtOnceAndInstallsNothing) {
  std::remove(Installed().c_str());
  std::string no_script = Install("daemon-no-script", "daemon=1\r\n", {"nocturodaemon.exe"});
  // A folder of someone else's making, as a rewritten logon link would start
  // a genuine daemon, complete in its own, in it.
  std::string genuine = Install("daemon-genuine", "daemon=1\r\n");
  std::string elsewhere = Install("daemon-elsewhere", "daemon=1\r\nminute=1\r\n");
  for (const auto& [folder, program] : {std::pair{no_script, no_script}, std::pair{elsewhere, genuine}}) {
    SCOPED_TRACE(folder);
    ASSERT_TRUE(e2e::WaitProcess("nocturodaemon.exe", false, 10000)) << "one runs: this one would end for that";
    EXPECT_EQ(e2e::RunWine(folder, program + "/nocturodaemon.exe", {}, 20000).code, 0);
    EXPECT_FALSE(e2e::Exists(Installed()));
  }
}

TEST(DaemonUnderWine, AnInstalledLinkStaysByteForByteAndOneForEveryUserIsNotDoubled) {
  std::string for_everyone = e2e::CommonStartupFolder() + "/startnocturodaemon.vbs.lnk";
  for (const std::string& link : {Installed(), for_everyone}) {
    SCOPED_TRACE(link);
    e2e::WriteFile(link, "a link to another folder");
    std::string folder = Install("daemon-keeps", "daemon=1\r\n");
    e2e::Program daemon(e2e::StartWine(folder, folder + "/nocturodaemon.exe", {}));
    ASSERT_TRUE(DaemonWindow(20000));
    e2e::SleepMs(2000);
    EXPECT_EQ(e2e::ReadFile(link), "a link to another folder");
    EXPECT_EQ(e2e::Exists(Installed()), link == Installed()) << "no link of the user's own";
    EXPECT_FALSE(e2e::Exists(folder + "/startnocturodaemon.vbs.lnk"));
    std::remove(link.c_str());
  }
}

// A daemon counting one minute, with a stand-in blanker, its link already
// installed so the minute starts at once; it and what it started end with this.
struct IdleDaemon {
  explicit IdleDaemon(const std::string& name) : folder(Install(name, "daemon=1\r\nminute=1\r\n")) {
    e2e::WriteFile(Installed(), "installed");
    e2e::PlantStandIn(folder, "nocturo.exe");
    program = e2e::Program(e2e::StartWine(folder, folder + "/nocturodaemon.exe", {}));
    EXPECT_TRUE(DaemonWindow(20000));
  }
  ~IdleDaemon() { std::remove(Installed().c_str()); }
  bool BlankerStarted() const { return e2e::Exists(folder + "/nocturo.exe.started"); }

  std::string folder;
  e2e::Program program;
};

// Slow: keys with the mouse still keep the blanker away; a minute after the
// last key it comes; a cursor move postpones the next.
TEST(DaemonUnderWine, TypingIsActivityAMinuteWithoutAnyStartsTheBlankerAndACursorMovePostponesIt) {
  using Clock = std::chrono::steady_clock;
  IdleDaemon daemon("daemon-idle");
  auto started = [&] { return daemon.BlankerStarted(); };
  // Untouched, the blanker would come about 60 s after the start.
  for (int key = 0; key < 4; ++key) {
    ASSERT_TRUE(e2e::Key(0x10));  // Shift, sent as a keyboard sends it
    EXPECT_FALSE(e2e::Eventually(started, 20000)) << "typing is activity";
  }
  Clock::time_point t0 = Clock::now() - std::chrono::seconds(20);  // the last key
  ASSERT_TRUE(e2e::Eventually(started, 90000));
  long first = std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - t0).count();
  std::cout << "[ idle     ] blanker started " << first << " s after the last key\n";
  EXPECT_GE(first, 55);
  EXPECT_LE(first, 80);
  e2e::EndAll("nocturo.exe");
  std::remove((daemon.folder + "/nocturo.exe.started").c_str());
  e2e::SleepMs(25000);
  e2e::Move(321, 123);
  // Unmoved, the next start would come 60 s after the first; the move puts it at about 85 s.
  EXPECT_FALSE(e2e::Eventually(started, 50000)) << "the move postponed it";
  EXPECT_TRUE(e2e::Eventually(started, 35000)) << "and then it came";
}

// Slow: with the display reported off a minute of idleness starts nothing;
// a message posted to the display-state window is dropped, never dispatched.
TEST(DaemonUnderWine, WithTheDisplayReportedOffNoBlankerStartsAndAPostedCloseLeavesTheWindow) {
  IdleDaemon daemon("daemon-display-off");
  ASSERT_TRUE(e2e::Post("RenderWindow", "NocturoDaemon", platform::kWmClose));
  ASSERT_TRUE(e2e::ReportDisplay("nocturodaemon.exe", 0));
  EXPECT_FALSE(e2e::Eventually([&] { return daemon.BlankerStarted(); }, 80000))
      << "a blanker started while the display was off";
  EXPECT_TRUE(DaemonWindow(0)) << "the posted WM_CLOSE was dropped";
  EXPECT_TRUE(daemon.program.Running());
}

}  // namespace
