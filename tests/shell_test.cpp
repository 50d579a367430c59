// Starting the command interpreter, and the command lines built for it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/command_lines.h"
#include "daemon/daemon.h"
#include "common/shell_command.h"
#include "platform/sim/sim.h"
#include "platform/threads.h"
#include "tests/blanker_world.h"
#include "tests/tray_world.h"

namespace {

// A command of the longest a MAX_PATH buffer holds.
const std::u16string kLongest = u"/c echo " + std::u16string(251, u'x');

int StartThree() {
  ShellCommand(kStartTrayBlanker, false);
  ShellCommandText("/c echo 托盘版", true);
  ShellCommand(kLongest.c_str(), false);
  sim::Note("back");
  return 0;
}

// AutoRun and delayed expansion are the user's to switch on, and would run in
// every elevated command: the switches come first, before every command.
TEST(Shell, OpensTheSystemCommandInterpreterWithoutAutoRunHiddenOrShownWithoutWaiting) {
  sim::Run r = sim::RunProgram(StartThree, sim::World(), 1000);
  SCOPED_TRACE(r.Text());
  const std::string interpreter = "ShellExecuteW (nil) open C:\\Windows\\System32\\cmd.exe \"/d /v:off ";
  EXPECT_EQ(r.Count(interpreter + "/c start ./panelblank.exe\" null 0"), 1);
  EXPECT_EQ(r.Count(interpreter + u8"/c echo 托盘版\" null 1"), 1) << "the text as its characters";
  EXPECT_EQ(r.Count(interpreter + std::string(kLongest.begin(), kLongest.end()) + "\" null 0"), 1)
      << "the switches take no room from the command";
  EXPECT_EQ(r.First("note back"), 0);
}

// An elevated program inherits the user's environment, where a user's
// PATHEXT replaces the system's and the user's Path is searched too: with
// ".BAT" alone a planted powercfg.bat would run elevated. Each of the four
// sets the system's own before anything else, whatever the user set.
TEST(Shell, EveryElevatedProgramSearchesCommandsInTheSystemFoldersOnly) {
  sim::World daemon;
  daemon.image_name = "nocturodaemon.exe";
  daemon.File("nocturodaemon.exe", "MZ").File("startnocturodaemon.vbs", "'").File("info.ini", "[setting]\r\ndaemon=1\r\n");
  sim::World panelblank = NocturoWorld("1").Process("nocturotray.exe");
  panelblank.image_name = "panelblank.exe";
  sim::World tray = TrayWorld("1");
  Click(tray, 1000, kLeftDown);
  const struct {
    const char* what;
    sim::Entry entry;
    sim::World world;
  } rows[] = {{"nocturo.exe", RunNocturo, NocturoWorld("2")},
              {"panelblank.exe", RunPanelBlank, panelblank},
              {"nocturotray.exe", RunTray, tray},
              {"nocturodaemon.exe", DaemonMain, daemon}};
  for (const auto& row : rows) {
    sim::World world = row.world;
    world.system_dir = "D:\\WIN\\system32";
    world.windows_dir = "D:\\WIN";
    sim::Run r = sim::RunProgram(row.entry, world, 5000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.First("SetEnvironmentVariableW NoDefaultCurrentDirectoryInExePath=1"), 0);
    EXPECT_EQ(r.First("SetEnvironmentVariableW PATHEXT=.COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC"), 0);
    EXPECT_EQ(r.First("SetEnvironmentVariableW Path=D:\\WIN\\system32;D:\\WIN;D:\\WIN\\system32\\Wbem"), 0);
    ASSERT_NE(r.First("ShellExecuteW"), -1) << "each runs a command within the run";
    ExpectInOrder(r, {"SetEnvironmentVariableW Path=", "ShellExecuteW"});
  }
}

TEST(Shell, AFailedStartIsSilent) {
  sim::Run r = sim::RunProgram(StartThree, sim::World().Fail("ShellExecuteW"), 1000);
  EXPECT_EQ(r.First("note back"), 0) << r.Text();
}

TEST(Shell, AnInterpreterPathThatDoesNotFitIsNeverUsed) {
  sim::World world;
  world.system_dir = "C:\\" + std::string(250, 'd');
  sim::Run r = sim::RunProgram(StartThree, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("ShellExecuteW"), 0);
  EXPECT_EQ(r.First("note back"), 0);
}

TEST(Shell, CopyToStartupCommandIsBuiltWholeOrNotAtAll) {
  // Outside any code page but Unicode, kept whole.
  const char16_t* startup = u"C:\\Users\\Łukasz 张\\Start Menu\\Programs\\Startup";
  const std::u16string copy =
      u"/c copy .\\startnocturodaemon.vbs.lnk \"C:\\Users\\Łukasz 张\\Start Menu\\Programs\\Startup\" /y";
  PathBuffer command;
  ASSERT_TRUE(BuildCopyToStartup(&command, kDaemonShortcut, startup));
  EXPECT_TRUE(command.text == copy);
  std::u16string deep = u"C:\\" + std::u16string(230, u'x');
  EXPECT_FALSE(BuildCopyToStartup(&command, kTrayShortcut, deep.c_str()));
}

TEST(Shell, TextBufferNeverWritesPastItsEnd) {
  struct Guarded {
    TextBuffer buffer;
    unsigned char guard[16];
  } g;
  std::memset(g.guard, 0xCC, sizeof g.guard);
  ClearText(&g.buffer);
  std::string chunk(100, 'z');
  EXPECT_TRUE(AppendText(&g.buffer, chunk.c_str()));
  EXPECT_TRUE(AppendText(&g.buffer, chunk.c_str()));
  EXPECT_FALSE(AppendText(&g.buffer, chunk.c_str())) << "300 bytes do not fit in 260";
  EXPECT_FALSE(AppendText(&g.buffer, "a")) << "once overflowed, the text stays unusable";
  EXPECT_EQ(g.buffer.length, 200u);
  for (unsigned char c : g.guard) EXPECT_EQ(c, 0xCC);
  ClearText(&g.buffer);
  EXPECT_TRUE(AppendDecimal(&g.buffer, -2147483647 - 1));
  EXPECT_STREQ(g.buffer.text, "-2147483648");
}

}  // namespace
