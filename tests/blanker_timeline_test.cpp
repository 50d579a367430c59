// The blanker's start-up and its timeline in each mode, to the millisecond.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/blanker_world.h"
#include "version.h"

namespace {

using Times = std::vector<int64_t>;

TEST(BlankerTimeline, StartUpHappensInItsFixedOrderAtZero) {
  sim::Run r = sim::RunProgram(RunNocturo, NocturoWorld("1"), 1000);
  SCOPED_TRACE(r.Text());
  // Before any thread that runs a command: no cmd.exe of ours takes a bare
  // "rundll32.exe" from the working folder.
  const char* const order[] = {
      "SetEnvironmentVariableW NoDefaultCurrentDirectoryInExePath=1",
      "SetEnvironmentVariableW PATHEXT=.COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC",
      "SetEnvironmentVariableW Path=C:\\Windows\\System32;C:\\Windows;C:\\Windows\\System32\\Wbem",
      "BlockInput 1",
      "GetPrivateProfileIntA setting type .//info.ini = 1",
      "pthread_create t2",
      "pthread_create t3",
      "SetWindowsHookExA 13 module 0x400000 thread 0",
      "RegisterClassA \"RenderWindow\"",
      "CreateWindowExA ex 0 \"RenderWindow\" \"Nocturo\"",
      "RegisterPowerSettingNotification \"Nocturo\" {6FE69556-704A-47A0-8F24-C28D936FDA47} 0",
  };
  size_t next = 0;
  for (const sim::TraceLine& line : r.lines)
    if (next < 11 && line.thread == 1 && line.text.rfind(order[next], 0) == 0) {
      EXPECT_EQ(line.at, 0) << order[next];
      next++;
    }
  EXPECT_EQ(next, 11u) << "missing or out of order: " << (next < 11 ? order[next] : "");
}

struct ModeRow {
  const char* type;
  Times broadcasts;
  Times locks;
  Times cursor_reads;  // arming, then each poll
};

TEST(BlankerTimeline, EachModeKeepsItsMoments) {
  const ModeRow rows[] = {
      {"1", {4000}, {}, {2000, 5000, 8000, 11000}},
      {"3", {4000}, {}, {2000, 5000, 8000, 11000}},
      // No notifications here: the wait for the display to go off ends at 5000.
      {"2", {6000}, {3500}, {4500, 6000, 7000, 8000, 9000, 10000, 11000, 12000}},
      {"", {4000}, {}, {2000, 5000, 8000, 11000}},
      {"0", {4000}, {}, {2000, 5000, 8000, 11000}},
      {"4", {4000}, {}, {2000, 5000, 8000, 11000}},
      {"-1", {4000}, {}, {2000, 5000, 8000, 11000}},
      {"abc", {4000}, {}, {2000, 5000, 8000, 11000}},
  };
  for (const ModeRow& row : rows) {
    sim::Run r = sim::RunProgram(RunNocturo, NocturoWorld(row.type), 12000);
    SCOPED_TRACE(std::string("type=") + row.type + "\n" + r.Text());
    EXPECT_EQ(r.end, sim::End::TimeUp);
    EXPECT_EQ(r.Times(kBroadcast), row.broadcasts);
    EXPECT_EQ(r.Times(kLock), row.locks);
    EXPECT_EQ(r.Times("GetCursorPos"), row.cursor_reads);
    EXPECT_EQ(r.Times("GetDeviceCaps 118 = 1920"), (Times{row.cursor_reads[0]}));
    EXPECT_EQ(r.Times("GetDeviceCaps 117 = 1080"), (Times{row.cursor_reads[0]}));
  }
}

TEST(BlankerTimeline, BannerAndHotkeyCommandsComeFirstOnTheWatcher) {
  sim::Run r = sim::RunProgram(RunNocturo, NocturoWorld("1"), 1000);
  SCOPED_TRACE(r.Text());
  char banner[260];
  ASSERT_TRUE(BuildBanner(banner, sizeof banner, kNocturoVariant.banner_first));
  const std::string expected_banner =
      "ShellExecuteW (nil) open C:\\Windows\\System32\\cmd.exe \"/d /v:off " + sim::Utf8FromGbk(banner) + "\" null 1";
  EXPECT_EQ(r.First(expected_banner), 0);
  EXPECT_EQ(r.First("\"/d /v:off /c c:\\Windows\\System32\\taskkill /f /im igfxHK.exe\" null 0"), 0);
  EXPECT_LT(r.First("ShellExecuteW"), 1) << "the banner is the first command";
}

TEST(BlankerTimeline, BannerIsSixSegmentsAndFitsForBothVariants) {
  for (const BlankerVariant* variant : {&kNocturoVariant, &kPanelBlankVariant}) {
    char banner[260];
    ASSERT_TRUE(BuildBanner(banner, sizeof banner, variant->banner_first));
    std::string text = banner;
    SCOPED_TRACE(text);
    EXPECT_EQ(text.rfind(variant->banner_first, 0), 0u);
    size_t joins = 0;
    for (size_t at = text.find(" && "); at != std::string::npos; at = text.find(" && ", at + 1)) joins++;
    EXPECT_EQ(joins, 5u);
    EXPECT_NE(text.find(" && echo 若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键 && "), std::string::npos);
    EXPECT_NE(text.find(" && echo 官方下载地址"), std::string::npos);
    EXPECT_NE(text.find(" && c:\\Windows\\System32\\ping 127.0.0.1 -n 3 >nul && cls"), std::string::npos);
  }
  EXPECT_STREQ(kPanelBlankVariant.banner_first, "/c echo Nocturo v" NOCTURO_VERSION "-tp1.0 托盘版");
  char small[40];
  EXPECT_FALSE(BuildBanner(small, sizeof small, kNocturoVariant.banner_first)) << "never cut short";
}

TEST(BlankerTimeline, AFailedThreadLeavesItsWorkUndoneAndNothingElse) {
  sim::World world = NocturoWorld("1");
  world.Fail("pthread_create").Key(3000);
  sim::Run r = sim::RunProgram(RunNocturo, world, 12000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.end, sim::End::Deadlock) << "only the message loop is left, waiting for ever";
  EXPECT_EQ(r.Count(kBroadcast), 0);
  EXPECT_EQ(r.Count("ShellExecuteW"), 0);
  EXPECT_EQ(r.First("key 41 down swallowed"), 3000) << "the hook still swallows, unarmed";
}

}  // namespace
