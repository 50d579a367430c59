// Starting the command interpreter, and the command lines built for it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/command_lines.h"
#include "common/shell_command.h"
#include "platform/sim/sim.h"
#include "platform/threads.h"

namespace {

int StartTwo() {
  ShellCommand(kStartTrayBlanker, false);
  ShellCommand("/c echo shown", true);
  sim::Note("back");
  return 0;
}

TEST(Shell, OpensTheSystemCommandInterpreterHiddenOrShownWithoutWaiting) {
  sim::Run r = sim::RunProgram(StartTwo, sim::World(), 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("ShellExecuteA (nil) open C:\\Windows\\System32\\cmd.exe "
                    "\"/c start ./panelblank.exe\" null 0"), 1);
  EXPECT_EQ(r.Count("ShellExecuteA (nil) open C:\\Windows\\System32\\cmd.exe \"/c echo shown\" null 1"), 1);
  EXPECT_EQ(r.First("note back"), 0);
}

TEST(Shell, AFailedStartIsSilent) {
  sim::Run r = sim::RunProgram(StartTwo, sim::World().Fail("ShellExecuteA"), 1000);
  EXPECT_EQ(r.First("note back"), 0) << r.Text();
}

TEST(Shell, AnInterpreterPathThatDoesNotFitIsNeverUsed) {
  sim::World world;
  world.system_dir = "C:\\" + std::string(250, 'd');
  sim::Run r = sim::RunProgram(StartTwo, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("ShellExecuteA"), 0);
  EXPECT_EQ(r.First("note back"), 0);
}

TEST(Shell, CopyToStartupCommandIsBuiltWholeOrNotAtAll) {
  TextBuffer command;
  ASSERT_TRUE(BuildCopyToStartup(&command, kDaemonShortcut,
                                 "C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Startup"));
  EXPECT_STREQ(command.text,
               "/c copy .\\startnocturodaemon.vbs.lnk \"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\"
               "Windows\\Start Menu\\Programs\\Startup\" /y");
  std::string deep = "C:\\" + std::string(230, 'x');
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
