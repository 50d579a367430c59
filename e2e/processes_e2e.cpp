// The process and command helpers on real processes under Wine.
#include <gtest/gtest.h>

#include "e2e/wine_env.h"

namespace {

using e2e::Result;

Result Probe(const std::string& folder, const std::string& exe, const std::vector<std::string>& args) {
  return e2e::RunWine(folder, exe, args, 30000);
}

std::string ProbeIn(const std::string& folder) {
  e2e::CopyFile(e2e::ToolsDir() + "/proc_probe.exe", folder + "/proc_probe.exe");
  return folder + "/proc_probe.exe";
}

// Starts a stand-in under `image` in a folder of its own and waits until it runs.
pid_t StartStandIn(const std::string& folder_name, const std::string& image) {
  std::string folder = e2e::NewFolder(folder_name);
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/" + image);
  pid_t pid = e2e::StartWine(folder, folder + "/" + image, {});
  EXPECT_TRUE(e2e::Eventually([&] { return e2e::Exists(folder + "/" + image + ".started"); }, 20000))
      << image << " did not start";
  return pid;
}

TEST(ProcessesUnderWine, CountIgnoresCaseWhileFindAndTerminateMatchExactly) {
  pid_t lower = StartStandIn("procs-lower", "nocturodaemon.exe");
  pid_t upper = StartStandIn("procs-upper", "NOCTURODAEMON.EXE");
  std::string folder = e2e::NewFolder("procs-probe");
  std::string probe = ProbeIn(folder);

  EXPECT_EQ(Probe(folder, probe, {"count", "nocturodaemon.exe"}).output, "count 2\n");
  EXPECT_EQ(Probe(folder, probe, {"count", "NocturoDaemon.EXE"}).output, "count 2\n");
  EXPECT_EQ(Probe(folder, probe, {"count", "nocturotray.exe"}).output, "count 0\n");
  EXPECT_NE(Probe(folder, probe, {"find", "nocturodaemon.exe"}).output, "find 0\n");
  EXPECT_EQ(Probe(folder, probe, {"find", "Nocturodaemon.exe"}).output, "find 0\n");
  EXPECT_EQ(Probe(folder, probe, {"terminate", "Nocturodaemon.exe"}).output, "terminate 0\n");

  EXPECT_EQ(Probe(folder, probe, {"terminate", "nocturodaemon.exe"}).output, "terminate 1\n");
  EXPECT_EQ(e2e::WaitExit(lower, 20000), 0) << "the exact match ends with code 0";
  EXPECT_EQ(e2e::WaitExit(upper, 500), -1) << "a name in other case is left running";
  EXPECT_EQ(Probe(folder, probe, {"count", "nocturodaemon.exe"}).output, "count 1\n");
  e2e::Kill(upper);
}

TEST(ProcessesUnderWine, TerminateEndsTheCallerWhenItCarriesTheName) {
  std::string folder = e2e::NewFolder("procs-self");
  e2e::CopyFile(e2e::ToolsDir() + "/proc_probe.exe", folder + "/selfend.exe");
  Result r = Probe(folder, folder + "/selfend.exe", {"terminate", "selfend.exe"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.output, "") << "nothing after the call runs";
}

TEST(ShellCommandUnderWine, StartRunsTheProgramInTheCallersFolder) {
  std::string folder = e2e::NewFolder("shell-start");
  std::string probe = ProbeIn(folder);
  e2e::CopyFile(e2e::ToolsDir() + "/stand_in.exe", folder + "/x.exe");
  Result r = Probe(folder, probe, {"shell", "hidden", "/c start ./x.exe"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.output, "shell returned\n");
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(folder + "/x.exe.started"); }, 20000));
  std::string cwd = e2e::ReadFile(folder + "/x.exe.started");
  EXPECT_NE(cwd.find("shell-start"), std::string::npos) << cwd;
  EXPECT_EQ(Probe(folder, probe, {"terminate", "x.exe"}).output, "terminate 1\n");
}

TEST(ShellCommandUnderWine, ReturnsWithoutWaitingForTheCommand) {
  std::string folder = e2e::NewFolder("shell-nowait");
  std::string probe = ProbeIn(folder);
  // About 20 s of pinging; the caller must be back long before.
  Result r = e2e::RunWine(folder, probe, {"shell", "hidden", "/c ping 127.0.0.1 -n 21 >nul"}, 10000);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.output, "shell returned\n");
  e2e::Eventually([&] {
    return Probe(folder, probe, {"terminate", "ping.exe"}).output == "terminate 1\n";
  }, 5000);
}

}  // namespace
