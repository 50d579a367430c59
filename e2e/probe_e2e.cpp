// The real probe under Wine, where no display-state notification ever comes.
#include <gtest/gtest.h>

#include "e2e/wine_env.h"

namespace {

TEST(ProbeUnderWine, WithoutANotificationItWaitsSilentlyWithItsHiddenWindowAndStartsNothing) {
  std::string folder = e2e::NewFolder("probe");
  e2e::CopyFile(e2e::PackageDir() + "/panelprobe.exe", folder + "/panelprobe.exe");
  pid_t probe = e2e::StartWine(folder, folder + "/panelprobe.exe", {});
  e2e::Result window = e2e::Helper({"wait-window", "RenderWindow", "Nocturo", "20000"});
  EXPECT_EQ(window.code, 0);
  EXPECT_EQ(window.output.rfind("visible 0 ", 0), 0u) << window.output;
  e2e::SleepMs(3000);
  EXPECT_EQ(e2e::WaitExit(probe, 0), -1) << "it keeps waiting";
  for (const char* image : {"cmd.exe", "powercfg.exe"})
    EXPECT_EQ(e2e::Helper({"count-process", image}).output, "0\n") << image;
  e2e::Kill(probe);

  e2e::Result quiet = e2e::RunWine(folder, folder + "/panelprobe.exe", {}, 4000);
  EXPECT_EQ(quiet.code, -1) << "still running when stopped";
  EXPECT_EQ(quiet.output, "");
}

}  // namespace
