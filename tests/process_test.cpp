// Finding, counting and ending processes by image name.
#include <gtest/gtest.h>

#include <string>

#include "common/process_names.h"
#include "platform/sim/sim.h"

namespace {

int CountAndFind() {
  sim::Note("count lower %d", CountProcessesByName("nocturodaemon.exe"));
  sim::Note("count mixed %d", CountProcessesByName("NocturoDaemon.exe"));
  sim::Note("count none %d", CountProcessesByName("nocturotray.exe"));
  sim::Note("find exact %u", FindProcessIdByName("nocturodaemon.exe"));
  sim::Note("find upper %u", FindProcessIdByName("NOCTURODAEMON.EXE"));
  sim::Note("find other case %u", FindProcessIdByName("Nocturodaemon.exe"));
  std::string long_name(400, 'a');
  sim::Note("count overlong %d", CountProcessesByName(long_name.c_str()));
  sim::Note("open handles %d", sim::OpenHandles());
  return 0;
}

TEST(Processes, CountIgnoresCaseFindIsExact) {
  sim::World world;
  world.Process("explorer.exe", 8).Process("NOCTURODAEMON.EXE", 12).Process("nocturodaemon.exe", 16);
  sim::Run r = sim::RunProgram(CountAndFind, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note count lower 2"), 1);
  EXPECT_EQ(r.Count("note count mixed 2"), 1);
  EXPECT_EQ(r.Count("note count none 0"), 1);
  EXPECT_EQ(r.Count("note find exact 16"), 1);
  EXPECT_EQ(r.Count("note find upper 12"), 1);
  EXPECT_EQ(r.Count("note find other case 0"), 1);
  EXPECT_EQ(r.Count("note count overlong 0"), 1);
  EXPECT_EQ(r.Count("note open handles 0"), 1);
}

int FailedSnapshot() {
  sim::Note("count %d find %u terminate %d", CountProcessesByName("nocturo.exe"),
            FindProcessIdByName("nocturo.exe"), TerminateProcessesByName("nocturo.exe"));
  return 0;
}

TEST(Processes, FailedSnapshotCountsAsNoProcesses) {
  sim::Run r = sim::RunProgram(FailedSnapshot, sim::World().Fail("CreateToolhelp32Snapshot"), 1000);
  EXPECT_EQ(r.Count("note count 0 find 0 terminate 0"), 1) << r.Text();
}

int TerminateCases() {
  sim::Note("null %d", TerminateProcessesByName(nullptr));
  sim::Note("no match %d", TerminateProcessesByName("nocturo.exe"));
  sim::Note("other case %d", TerminateProcessesByName("PanelBlank.exe"));
  sim::Note("two matches %d", TerminateProcessesByName("panelblank.exe"));
  sim::Note("left %d open handles %d", CountProcessesByName("panelblank.exe"), sim::OpenHandles());
  return 0;
}

TEST(Processes, TerminateAnswersMinusOneZeroOrOneAndClosesEveryHandle) {
  sim::World world;
  world.image_name = "nocturodaemon.exe";
  world.Process("panelblank.exe", 20).Process("explorer.exe", 24).Process("panelblank.exe", 28);
  sim::Run r = sim::RunProgram(TerminateCases, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note null -1"), 1);
  EXPECT_EQ(r.Count("CreateToolhelp32Snapshot"), 4) << "a null name takes no snapshot";
  EXPECT_EQ(r.Count("note no match 0"), 1);
  EXPECT_EQ(r.Count("note other case 0"), 1);
  EXPECT_EQ(r.Count("note two matches 1"), 1);
  EXPECT_EQ(r.Count("OpenProcess 1FFFFF 1 20"), 1) << "all access, inheritable";
  EXPECT_EQ(r.Count("TerminateProcess 28 0"), 1);
  EXPECT_EQ(r.Count("note left 0 open handles 0"), 1);
}

int TerminateWhenOpenFails() {
  sim::Note("result %d", TerminateProcessesByName("panelblank.exe"));
  sim::Note("open handles %d", sim::OpenHandles());
  return 0;
}

TEST(Processes, TerminateStopsAtTheFirstFailure) {
  sim::World world;
  world.Process("panelblank.exe", 20).Process("panelblank.exe", 28).Fail("OpenProcess");
  sim::Run r = sim::RunProgram(TerminateWhenOpenFails, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note result 0"), 1);
  EXPECT_EQ(r.Count("OpenProcess"), 1) << "the walk stops at the first failure";
  EXPECT_EQ(r.Count("note open handles 0"), 1);
}

int DaemonEndsDaemons() {
  sim::Note("result %d", TerminateProcessesByName("nocturodaemon.exe"));
  return 5;
}

TEST(Processes, TerminateEndsTheCallerWhenItsEntryComesUp) {
  sim::World world;
  world.image_name = "nocturodaemon.exe";
  world.self_pid = 40;
  world.Process("nocturodaemon.exe", 36).Process("nocturodaemon.exe", 40);
  world.Process("nocturodaemon.exe", 44);
  sim::Run r = sim::RunProgram(DaemonEndsDaemons, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.end, sim::End::Exit);
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.Count("TerminateProcess 40 0"), 1);
  EXPECT_EQ(r.Count("TerminateProcess 44"), 0) << "matches after the caller's entry live on";
  EXPECT_EQ(r.Count("note result"), 0);
}

}  // namespace
