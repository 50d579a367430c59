// The process and command helpers on real processes under Wine.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/wine_env.h"

namespace {

using e2e::Result;

// A fresh folder holding the probe, as `image`.
std::string ProbeFolder(const std::string& name, const std::string& image = "proc_probe.exe") {
  std::string folder = e2e::NewFolder(name);
  e2e::CopyFile(e2e::ToolsDir() + "/proc_probe.exe", folder + "/" + image);
  return folder;
}

Result Probe(const std::string& folder, const std::vector<std::string>& args, int timeout_ms = 30000) {
  return e2e::RunWine(folder, folder + "/proc_probe.exe", args, timeout_ms);
}

TEST(ProcessesUnderWine, CountIgnoresCaseWhileFindAndTerminateMatchExactly) {
  e2e::Program lower(e2e::StartStandIn("procs-lower", "nocturodaemon.exe"));
  e2e::Program upper(e2e::StartStandIn("procs-upper", "NOCTURODAEMON.EXE"));
  std::string folder = ProbeFolder("procs-probe");

  EXPECT_EQ(Probe(folder, {"count", "nocturodaemon.exe"}).output, "count 2\n");
  EXPECT_EQ(Probe(folder, {"count", "NocturoDaemon.EXE"}).output, "count 2\n");
  EXPECT_EQ(Probe(folder, {"count", "nocturotray.exe"}).output, "count 0\n");
  EXPECT_TRUE(std::regex_match(Probe(folder, {"find", "nocturodaemon.exe"}).output, std::regex("find [1-9][0-9]*\n")));
  EXPECT_EQ(Probe(folder, {"find", "Nocturodaemon.exe"}).output, "find 0\n");
  EXPECT_EQ(Probe(folder, {"terminate", "Nocturodaemon.exe"}).output, "terminate 0\n");

  EXPECT_EQ(Probe(folder, {"terminate", "nocturodaemon.exe"}).output, "terminate 1\n");
  EXPECT_EQ(lower.WaitExit(20000), 0) << "the exact match ends with code 0";
  EXPECT_TRUE(upper.Running()) << "a name in other case is left running";
  EXPECT_EQ(Probe(folder, {"count", "nocturodaemon.exe"}).output, "count 1\n");
}

TEST(ProcessesUnderWine, TerminateEndsTheCallerWhenItCarriesTheName) {
  std::string folder = ProbeFolder("procs-self", "selfend.exe");
  Result r = e2e::RunWine(folder, folder + "/selfend.exe", {"terminate", "selfend.exe"}, 30000);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.output, "") << "nothing after the call runs";
}

TEST(ShellCommandUnderWine, StartRunsTheProgramInTheCallersFolder) {
  std::string folder = ProbeFolder("shell-start");
  e2e::PlantStandIn(folder, "x.exe");
  Result r = Probe(folder, {"shell", "hidden", "/c start ./x.exe"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.output, "shell returned\n");
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(folder + "/x.exe.started"); }, 20000));
  std::string cwd = e2e::ReadFile(folder + "/x.exe.started");
  EXPECT_NE(cwd.find("shell-start"), std::string::npos) << cwd;
  EXPECT_EQ(Probe(folder, {"terminate", "x.exe"}).output, "terminate 1\n");
}

TEST(ShellCommandUnderWine, ReturnsWithoutWaitingForTheCommand) {
  std::string folder = ProbeFolder("shell-nowait");
  // About 20 s of pinging; the caller must be back long before.
  Result r = Probe(folder, {"shell", "hidden", "/c ping 127.0.0.1 -n 21 >nul"}, 10000);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.output, "shell returned\n");
  e2e::Eventually([&] { return Probe(folder, {"terminate", "ping.exe"}).output == "terminate 1\n"; }, 5000);
}

}  // namespace
