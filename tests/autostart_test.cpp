// Start at logon: the shortcut built, copied into the Startup folder and removed.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/autostart.h"
#include "tests/tray_world.h"

namespace {

const char kInstalled[] = "Startup/startnocturotray.vbs.lnk";
const char kLink[] =
    "target C:\\Program Files\\Nocturo\\startnocturotray.vbs\nworkdir C:\\Program Files\\Nocturo\n";
const char kCopy[] =
    "\"/c copy .\\startnocturotray.vbs.lnk \"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\"
    "Start Menu\\Programs\\Startup\" /y\" null 0";

sim::World TrayAt(int64_t at, uint32_t command) {
  sim::World world = TrayWorld("1");
  world.Post(at, 0x0111, command, 0, "dockwin");
  return world;
}

TEST(Autostart, YesBuildsTheLinkCopiesItOverAnyInstalledOneAndLeavesNoLocalLink) {
  for (bool installed : {false, true}) {
    sim::World world = TrayAt(1000, ID_AUTOSTART_ON);
    if (installed) world.File(kInstalled, "target D:\\old\\startnocturotray.vbs\n");
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string(installed ? "over an installed link" : "first install") + "\n" + r.Text());
    ExpectInOrder(r, {
        "_access startnocturotray.vbs 0 = 0", "SHGetSpecialFolderPathA (nil) 7 0",
        "GetCurrentDirectoryA 260", "CoInitialize",
        "CoCreateInstance {00021401-0000-0000-C000-000000000046} 1 {000214EE-0000-0000-C000-000000000046} = 00000000",
        "IShellLinkA::SetPath C:\\Program Files\\Nocturo\\startnocturotray.vbs",
        "IShellLinkA::SetWorkingDirectory C:\\Program Files\\Nocturo",
        "QueryInterface {0000010B-0000-0000-C000-000000000046}",
        "IPersistFile::Save .\\startnocturotray.vbs.lnk remember 0", "Release IPersistFile, 0 left",
        "Release IShellLinkA, 0 left", "CoUninitialize", kCopy, "copied",
        "remove .\\startnocturotray.vbs.lnk = 0"});
    EXPECT_EQ(r.First(kCopy), 1300);
    EXPECT_EQ(r.First("remove .\\startnocturotray.vbs.lnk = 0"), 3300);
    EXPECT_EQ(r.FileBytes(kInstalled), kLink);
    EXPECT_EQ(r.FileBytes("startnocturotray.vbs.lnk"), "");
  }
}

TEST(Autostart, AFailedComStepLeavesNoLinkButTheCopyAndItsWaitStillRun) {
  struct Row {
    const char* fails;
    int uninitialize;
    int releases;
  };
  for (Row row : {Row{"CoInitialize", 0, 0}, Row{"CoCreateInstance", 1, 0},
                  Row{"QueryInterface", 1, 1}, Row{"Save", 1, 2}}) {
    sim::World world = TrayAt(1000, ID_AUTOSTART_ON);
    sim::Run r = sim::RunProgram(RunTray, world.Fail(row.fails), 10000);
    SCOPED_TRACE(std::string(row.fails) + " fails\n" + r.Text());
    EXPECT_EQ(r.Count("CoUninitialize"), row.uninitialize);
    EXPECT_EQ(r.Count("without CoInitialize"), 0);
    EXPECT_EQ(r.Count("Release "), row.releases);
    EXPECT_EQ(r.Count(", 0 left"), row.releases) << "every interface released";
    EXPECT_EQ(r.First("nothing copied"), 1300);
    EXPECT_EQ(r.Times("remove .\\startnocturotray.vbs.lnk"), (std::vector<int64_t>{0, 3300}));
    EXPECT_EQ(r.FileBytes(kInstalled), "");
  }
}

int YesWithoutTheScript() {
  if (!StartTray(platform::GetModuleHandleA(nullptr))) return 1;
  std::remove("startnocturotray.vbs");
  OnTrayCommand(trayIcon.window, ID_AUTOSTART_ON);
  return 0;
}

int InstallTrayLink() {
  InstallAutostart(kTrayAutostart);
  return 0;
}

TEST(Autostart, NothingIsBuiltCopiedOrWaitedForWithoutTheScriptOrWithAStartupPathUnfitForAnElevatedCopy) {
  sim::Run r = sim::RunProgram(YesWithoutTheScript, TrayWorld("1"), 10000);
  EXPECT_EQ(r.ended_at, 0) << r.Text();
  EXPECT_EQ(r.Count("SHGetSpecialFolderPathA"), 0) << r.Text();
  sim::World plain;
  struct Row {
    const char* what;
    std::string startup, working;
    const char* reparse_point = "";
  };
  const Row rows[] = {
      {"Startup folder too long for the copy", "C:\\" + std::string(222, 's'), plain.current_dir},
      {"working directory too long", plain.startup_dir, "C:\\" + std::string(300, 'w')},
      {"script path too long", plain.startup_dir, "C:\\" + std::string(240, 'w')},
      {"Startup folder that lost characters", "C:\\Users\\??\\Startup", plain.current_dir},
      {"working directory that lost characters", plain.startup_dir, "C:\\Program Files\\??"},
      {"Startup folder that cmd.exe would expand", "C:\\Users\\%EVIL%\\Startup", plain.current_dir},
      {"Startup folder that is a junction", plain.startup_dir, plain.current_dir, "Startup"},
      {"installed link that is a symbolic link", plain.startup_dir, plain.current_dir,
       "Startup/startnocturotray.vbs.lnk"},
  };
  for (const Row& row : rows) {
    sim::World world = TrayWorld("1");
    world.startup_dir = row.startup;
    world.current_dir = row.working;
    if (*row.reparse_point) world.File(kInstalled, "elsewhere").reparse_points.insert(row.reparse_point);
    r = sim::RunProgram(InstallTrayLink, world, 10000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("CoInitialize") + r.Count("ShellExecuteA"), 0);
    EXPECT_EQ(r.ended_at, 0) << "no wait";
  }
}

int RemoveTrayLink() {
  RemoveAutostart(kTrayAutostart);
  return 0;
}

TEST(Autostart, NoDeletesTheInstalledLinkIfThereAndNeverAnotherFile) {
  struct Row {
    const char* what;
    bool installed;
    size_t startup_length;  // 0: the usual folder, 1: none
    int removes;
    const char* odd_folder = "";   // a Startup folder named otherwise
    const char* reparse_point = "";
  };
  for (Row row : {Row{"installed", true, 0, 1}, Row{"not installed", false, 0, 0},
                  Row{"folder too long for the link's path", true, 240, 0},
                  Row{"no Startup folder", true, 1, 0},
                  Row{"folder that lost characters", true, 0, 0, "C:\\Users\\??\\Startup"},
                  Row{"folder that cmd.exe would expand", true, 0, 0, "C:\\%APPDATA%\\Startup"},
                  Row{"folder that is a junction", true, 0, 0, "", "Startup"},
                  Row{"link that is a symbolic link", true, 0, 0, "", "Startup/startnocturotray.vbs.lnk"}}) {
    sim::World world;
    if (*row.odd_folder) world.startup_dir = row.odd_folder;
    if (*row.reparse_point) world.reparse_points.insert(row.reparse_point);
    if (row.startup_length > 1) world.startup_dir = "C:\\" + std::string(row.startup_length - 3, 's');
    if (row.startup_length == 1) world.Fail("SHGetSpecialFolderPathA");
    if (row.installed) world.File(kInstalled, "link").File("Startup/startnocturotray.vbs.ln", "other");
    sim::Run r = sim::RunProgram(RemoveTrayLink, world, 1000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("remove "), row.removes);
    EXPECT_EQ(r.Count("_access"), row.startup_length || *row.odd_folder || *row.reparse_point ? 0 : 1);
    EXPECT_EQ(r.FileBytes(kInstalled), row.removes ? "" : (row.installed ? "link" : ""));
    EXPECT_EQ(r.FileBytes("Startup/startnocturotray.vbs.ln"), row.installed ? "other" : "");
  }
}

}  // namespace
