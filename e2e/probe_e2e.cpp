// The real probe under Wine: silent without a notification; with one, its
// report once, and a window that goes on answering; signed, just the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "common/texts.h"
#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "platform/win_values.h"

namespace {

// The powercfg stand-in leaves a mark in the probe's folder for each run.
TEST(ProbeUnderWine, WithoutANotificationItWaitsSilentlyWithItsHiddenWindowAndStartsNothing) {
  std::string folder = e2e::InstallFolder("probe", {"panelprobe.exe"});
  e2e::Program probe(e2e::StartWine(folder, folder + "/panelprobe.exe", {}));
  e2e::WindowInfo window = e2e::WaitWindow("RenderWindow", "Nocturo", 20000);
  EXPECT_TRUE(window.found);
  EXPECT_EQ(window.visible, 0);
  e2e::SleepMs(3000);
  EXPECT_TRUE(probe.Running()) << "it keeps waiting";
  EXPECT_FALSE(e2e::Exists(folder + "/powercfg.exe.ran")) << "powercfg ran without a notification";
  probe = e2e::Program();

  e2e::Result quiet = e2e::RunWine(folder, folder + "/panelprobe.exe", {}, 4000);
  EXPECT_EQ(quiet.code, -1) << "still running when stopped";
  EXPECT_EQ(quiet.output, "");
}

TEST(ProbeUnderWine, TheFirstNotificationPrintsTheReportOnceAndTheWindowGoesOnAnswering) {
  const std::string head = std::string(kNoticeLine) + "\n" + kDownloadLine + "\n" + kWakeHintLine + "\n";
  const std::string tail = "\n睡眠模式检测\n[stand-in /a from panelprobe.exe]\n";
  const std::string detected = "检测到屏幕状态 success Nocturo普通版、锁屏版、增强版、辅助工具可以使用\n";
  const std::string not_detected = "未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版\n";
  struct Row {
    int first;
    std::string second;
    bool signed_copy;  // an Authenticode signature from a throwaway authority
  };
  const Row rows[] = {{1, detected, false}, {2, detected, false}, {0, not_detected, false}, {1, detected, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE("display state " + std::to_string(row.first) + (row.signed_copy ? ", signed" : ""));
    std::string folder = e2e::InstallFolder("probe-report", {"panelprobe.exe"});
    if (row.signed_copy) {
      std::string probe = folder + "/panelprobe.exe";
      std::remove(probe.c_str());
      ASSERT_TRUE(e2e::Sign(e2e::PackageDir() + "/panelprobe.exe", probe, "signer"));
    }
    std::string out = folder + "/out.txt";
    e2e::Program probe(e2e::StartWine(folder, folder + "/panelprobe.exe", {}, out));
    ASSERT_TRUE(e2e::WindowExists("RenderWindow", "Nocturo", 20000));
    ASSERT_TRUE(e2e::ReportDisplay("panelprobe.exe", row.first));
    // GBK bytes, as the console gets them. Read raw: each line ends in CR LF,
    // the probe's own as its text mode writes them, powercfg's as it wrote them.
    std::string expected;
    for (char c : head + row.second + tail) expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(out) == expected; }, 10000)) << e2e::ReadFile(out);
    EXPECT_TRUE(e2e::Send("RenderWindow", "Nocturo", platform::kWmNull, 3000)) << "the window answers a sent message";
    EXPECT_TRUE(e2e::ReportDisplay("panelprobe.exe", 1 - (row.first & 1)));
    e2e::SleepMs(1500);
    EXPECT_EQ(e2e::ReadFile(out), expected) << "a second notification prints nothing";
    EXPECT_EQ(e2e::ReadFile(folder + "/powercfg.exe.ran"), "ran\n") << "powercfg ran once";
    EXPECT_TRUE(probe.Running()) << "it stays open";
  }
}

}  // namespace
