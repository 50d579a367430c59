// The console probe: its report, byte for byte, and what it leaves unsaid.
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim.h"
#include "probe/probe.h"

namespace {

const std::string kHead =
    "本工具只关闭显示器，电脑仍在运行\n官方下载地址 nocturo.example.com\n"
    "若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键\n";
const std::string kTail = "\n睡眠模式检测\n";
const std::string kSuccess = "检测到屏幕状态 success Nocturo普通版、锁屏版、增强版、辅助工具可以使用\n";
const std::string kFail = "未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版\n";

const std::string kListing = "<listing of powercfg.exe /a>\n";

TEST(Probe, TheFirstNotificationPrintsTheReportThenTheSleepStatesOnceAndTheWindowGoesOnAnswering) {
  struct Row {
    uint32_t first;
    std::string line, listing;
    const char* fails = "";
  };
  const Row rows[] = {{1, kSuccess, kListing},
                      {2, kSuccess, kListing},
                      {0, kFail, kListing},
                      {1, kSuccess, "无法运行 powercfg /a\n", "CreateProcessW"},
                      {1, kSuccess, "无法运行 powercfg /a\n", "ReadFile"}};
  for (const Row& row : rows) {
    sim::World world;
    world.image_name = "panelprobe.exe";
    world.Display(100, row.first).Display(3000, 1 - (row.first & 1)).Post(5000, 0x0000);
    if (*row.fails) world.Fail(row.fails);
    sim::Run r = sim::RunProgram(ProbeMain, world, 60000);
    SCOPED_TRACE("display state " + std::to_string(row.first) + " " + row.fails + "\n" + r.Text());
    EXPECT_EQ(r.output, kHead + row.line + kTail + row.listing) << "the report, then the listing";
    EXPECT_EQ(r.Count("fflush stdout"), *row.fails ? 7 : 6) << "every line flushed";
    EXPECT_EQ(r.First("CreateProcessW C:\\Windows\\System32\\powercfg.exe \"powercfg.exe /a\""), 100)
        << "powercfg itself, from the system folder, no command interpreter between";
    EXPECT_EQ(r.Count("WM_POWERBROADCAST"), 2) << "the second change is handled, and prints nothing";
    EXPECT_EQ(r.First("GetMessageW 0000"), 5000) << "messages are still retrieved after the report";
    EXPECT_EQ(r.end, sim::End::Deadlock) << "the console stays open, waiting for messages";
    EXPECT_NE(r.First("t1:waiting for messages(GetMessageW)"), -1);
  }
}

int OtherBroadcastThenQuit() {
  platform::PowerSetting setting = {};
  setting.data_length = 4;
  int32_t result = static_cast<int32_t>(ProbeWindowProc(nullptr, 0x0218, 0x000A, reinterpret_cast<intptr_t>(&setting)));
  sim::Note("other power broadcast: %X", result);
  return ProbeMain();
}

TEST(Probe, OtherBroadcastsAndNoNotificationPrintNothingAndAQuitEndsWithZero) {
  sim::World world;
  world.Post(5000, 0x0012);
  sim::Run r = sim::RunProgram(OtherBroadcastThenQuit, world, 60000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.output, "");
  EXPECT_EQ(r.Count("note other power broadcast: DEF10218"), 1);
  EXPECT_EQ(r.First("RegisterClassW \"RenderWindow\""), 0);
  EXPECT_EQ(r.First("CreateWindowExW ex 0 \"RenderWindow\" \"Nocturo\" style 00CF0000 at 0,0 size 30x20"), 0);
  EXPECT_EQ(r.Count("ShowWindow") + r.Count("ShellExecuteW") + r.Count("CreateProcessW"), 0);
  EXPECT_EQ(r.First("UnregisterPowerSettingNotification"), 5000);
  EXPECT_EQ(r.First("CloseWindow"), 5000);
  EXPECT_EQ(r.exit_code, 0);
}

}  // namespace
