// Finding, counting and ending processes by image name.
#include <gtest/gtest.h>

#include <string>

#include "common/process_names.h"
#include "platform/sim/sim.h"

namespace {

int CountAndFind() {
  sim::Note("count lower %d", CountProcessesByName("nocturodaemon.exe", ProcessScope::Machine));
  sim::Note("count mixed %d", CountProcessesByName("NocturoDaemon.exe", ProcessScope::Machine));
  sim::Note("count none %d", CountProcessesByName("nocturotray.exe", ProcessScope::Machine));
  sim::Note("find exact %u", FindProcessIdByName("nocturodaemon.exe", ProcessScope::Machine));
  sim::Note("find upper %u", FindProcessIdByName("NOCTURODAEMON.EXE", ProcessScope::Machine));
  sim::Note("find other case %u", FindProcessIdByName("Nocturodaemon.exe", ProcessScope::Machine));
  std::string long_name(400, 'a');
  sim::Note("count overlong %d", CountProcessesByName(long_name.c_str(), ProcessScope::Machine));
  sim::Note("open handles %d", sim::OpenHandles());
  return 0;
}

// Names as Windows reports them, wide: a look-alike in full-width letters,
// which a Western code page narrows to "nocturodaemon.exe", is another name.
TEST(Processes, CountIgnoresCaseFindIsExact) {
  sim::World world;
  world.Process(u8"ｎｏｃｔｕｒｏｄａｅｍｏｎ.exe", 4).Process("explorer.exe", 8).Process("NOCTURODAEMON.EXE", 12);
  world.Process("nocturodaemon.exe", 16);
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

int CountAndFindBySession() {
  sim::Note("tray here %d machine %d", CountProcessesByName("nocturotray.exe", ProcessScope::Session),
            CountProcessesByName("nocturotray.exe", ProcessScope::Machine));
  sim::Note("find here %u machine %u", FindProcessIdByName("nocturotray.exe", ProcessScope::Session),
            FindProcessIdByName("nocturotray.exe", ProcessScope::Machine));
  return 0;
}

TEST(Processes, ASessionLookUpSkipsOtherSessionsAndKeepsWhatItCannotPlace) {
  struct Row {
    const char* what;
    const char* fails;
    const char* expected_counts;
    const char* expected_finds;
  };
  const Row rows[] = {
      {"sessions known", "", "note tray here 1 machine 2", "note find here 24 machine 20"},
      {"sessions unreadable", "ProcessIdToSessionId", "note tray here 2 machine 2",
       "note find here 20 machine 20"},
  };
  for (const Row& row : rows) {
    sim::World world;
    world.image_name = "panelblank.exe";
    world.Process("nocturotray.exe", 20, 2).Process("nocturotray.exe", 24, 1);
    if (*row.fails) world.Fail(row.fails);
    sim::Run r = sim::RunProgram(CountAndFindBySession, world, 1000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count(row.expected_counts), 1);
    EXPECT_EQ(r.Count(row.expected_finds), 1);
  }
}

int FailedSnapshot() {
  sim::Note("count %d find %u terminate %d", CountProcessesByName("nocturo.exe", ProcessScope::Machine),
            FindProcessIdByName("nocturo.exe", ProcessScope::Machine), TerminateProcessesByName("nocturo.exe"));
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
  sim::Note("left %d open handles %d", CountProcessesByName("panelblank.exe", ProcessScope::Machine), sim::OpenHandles());
  return 0;
}

TEST(Processes, TerminateAnswersMinusOneZeroOrOneAndClosesEveryHandle) {
  sim::World world;
  world.image_name = "nocturodaemon.exe";
  world.Process("panelblank.exe", 20).Process("explorer.exe", 24).Process("panelblank.exe", 28);
  world.Process(u8"ｐａｎｅｌｂｌａｎｋ.exe", 32);
  sim::Run r = sim::RunProgram(TerminateCases, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note null -1"), 1);
  EXPECT_EQ(r.Count("CreateToolhelp32Snapshot"), 4) << "a null name takes no snapshot";
  EXPECT_EQ(r.Count("note no match 0"), 1);
  EXPECT_EQ(r.Count("note other case 0"), 1);
  EXPECT_EQ(r.Count("note two matches 1"), 1);
  EXPECT_EQ(r.Count("OpenProcess 1FFFFF 1 20"), 1) << "all access, inheritable";
  EXPECT_EQ(r.Count("TerminateProcess 28 0"), 1);
  EXPECT_EQ(r.Count("OpenProcess 1FFFFF 1 32"), 0) << "a look-alike is left alone";
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
