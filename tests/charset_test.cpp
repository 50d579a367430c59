// The product's texts are GBK in the programs and reach Windows as their
// characters: each decodes from code page 936 to what the user must read.
#include <gtest/gtest.h>

#include <string>

#include "probe/probe.h"
#include "tests/blanker_world.h"
#include "tests/tray_world.h"
#include "version.h"

namespace {

TEST(Charset, NarrowLiteralsAreGbk) {
  const std::string lock_screen = "锁屏版";
  EXPECT_EQ(lock_screen, std::string("\xCB\xF8\xC6\xC1\xB0\xE6"));
}

TEST(Charset, EveryTextHandedToWindowsReadsAsItsCharacters) {
  sim::World tray = TrayWorld("2");
  Click(tray, 1000, kRightDown);
  sim::World probe;
  probe.Display(100, 0);
  sim::World blanker = NocturoWorld("1");
  blanker.image_name = "panelblank.exe";
  blanker.Process("nocturotray.exe");
  const sim::Run tray_run = sim::RunProgram(RunTray, tray, 2000);
  const sim::Run probe_run = sim::RunProgram(ProbeMain, probe, 1000);
  const sim::Run blanker_run = sim::RunProgram(RunPanelBlank, blanker, 1000);
  struct Row {
    const char* what;
    const sim::Run& run;
    std::string text;  // GBK as the program hands it over, UTF-8 for the wide calls
    std::string expected;
  };
  auto line = [](const sim::Run& r, const std::string& needle) {
    for (const sim::TraceLine& l : r.lines)
      if (l.text.find(needle) != std::string::npos) return l.text;
    return std::string("(no line with " + needle + ")");
  };
  const Row rows[] = {
      {"the tooltip", tray_run, sim::Utf8FromGbk(line(tray_run, "NIM_ADD")), u8"tip \"Nocturo锁屏版\""},
      {"the menu", tray_run, sim::Utf8FromGbk(line(tray_run, "TrackPopupMenu")),
       u8"普通版=201 锁屏版=202 增强版=203 ---- 开机启动>[是=206 否=207] 鼠标左键>[普通版=209 锁屏版=210 "
       u8"增强版=211 版本列表=212] ---- 退出=208"},
      {"the probe's report", probe_run, sim::Utf8FromGbk(probe_run.output),
       u8"本工具只关闭显示器，电脑仍在运行\n官方下载地址 nocturo.example.com\n"
       u8"若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键\n"
       u8"未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版\n\n睡眠模式检测\n"},
      {"the banner", blanker_run, line(blanker_run, "/c echo"),
       u8"\"/d /v:off /c echo Nocturo v" NOCTURO_VERSION "-tp1.0 托盘版 && echo 本工具只关闭显示器，电脑仍在运行 && "
       u8"echo 官方下载地址 nocturo.example.com && echo 若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键 && "
       u8"c:\\Windows\\System32\\ping 127.0.0.1 -n 3 >nul && cls\" null 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_NE(row.text.find(row.expected), std::string::npos) << "expected " << row.expected << "\nin " << row.text;
  }
}

}  // namespace
