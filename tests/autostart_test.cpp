// Start at logon: the shortcut built, copied into the Startup folder and removed.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/autostart.h"
#include "tests/tray_world.h"

namespace {

const char kInstalled[] = "Startup/startnocturotray.vbs.lnk";

sim::World TrayAt(int64_t at, uint32_t command) {
  sim::World world = TrayWorld("1");
  world.Post(at, 0x0111, command, 0, "dockwin");
  return world;
}

// Every path goes whole from the call that yields it to the link and the copy
// command: characters outside any code page, a last one whose second GBK byte
// is a backslash, a full-width quotation mark that a narrow call would turn
// into a real one.
TEST(Autostart, YesBuildsTheLinkCopiesItOverAnyInstalledOneAndLeavesNoLocalLink) {
  struct Row {
    const char* what;
    bool installed;
    std::string folder, startup;
  };
  const sim::World plain;
  const Row rows[] = {
      {"first install", false, plain.current_dir, plain.startup_dir},
      {"over an installed link", true, plain.current_dir, plain.startup_dir},
      {"in folders named in any language", false, u8"C:\\Users\\Łukasz\\张 é\\工具誠",
       u8"C:\\Users\\Łukasz\\q＂ & md pwnd & ＂q"},
  };
  for (const Row& row : rows) {
    sim::World world = TrayAt(1000, ID_AUTOSTART_ON);
    world.current_dir = world.program_dir = row.folder;
    world.startup_dir = row.startup;
    if (row.installed) world.File(kInstalled, "target D:\\old\\startnocturotray.vbs\n");
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    const std::string copy = "\"/d /v:off /c copy .\\startnocturotray.vbs.lnk \"" + row.startup + "\" /y\" null 0";
    ExpectInOrder(r, {
        "_waccess startnocturotray.vbs 0 = 0", "SHGetSpecialFolderPathW (nil) 7 0",
        "GetCurrentDirectoryW 260", "CoInitialize",
        "CoCreateInstance {00021401-0000-0000-C000-000000000046} 1 {000214F9-0000-0000-C000-000000000046} = 00000000",
        "IShellLinkW::SetPath " + row.folder + "\\startnocturotray.vbs",
        "IShellLinkW::SetWorkingDirectory " + row.folder,
        "QueryInterface {0000010B-0000-0000-C000-000000000046}",
        "IPersistFile::Save .\\startnocturotray.vbs.lnk remember 0", "Release IPersistFile, 0 left",
        "Release IShellLinkW, 0 left", "CoUninitialize", {copy, 1300}, "copied",
        {"_wremove .\\startnocturotray.vbs.lnk = 0", 3300}});
    EXPECT_EQ(r.FileBytes(kInstalled),
              "target " + row.folder + "\\startnocturotray.vbs\nworkdir " + row.folder + "\n");
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
    EXPECT_EQ(r.Times("_wremove .\\startnocturotray.vbs.lnk"), (std::vector<int64_t>{0, 3300}));
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
  EXPECT_EQ(r.Count("SHGetSpecialFolderPathW"), 0) << r.Text();
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
      {"Startup folder that cmd.exe would expand", "C:\\Users\\%EVIL%\\Startup", plain.current_dir},
      {"Startup folder whose quote would end the copy's", "C:\\Users\\q\" & md pwnd & \"q", plain.current_dir},
      {"Startup folder with a line break", "C:\\Users\\q\r\nmd pwnd", plain.current_dir},
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
    EXPECT_EQ(r.Count("CoInitialize") + r.Count("ShellExecuteW"), 0);
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
                  Row{"folder whose quote would end a command's", true, 0, 0, "C:\\Users\\q\"q"},
                  Row{"folder that cmd.exe would expand", true, 0, 0, "C:\\%APPDATA%\\Startup"},
                  Row{"folder that is a junction", true, 0, 0, "", "Startup"},
                  Row{"link that is a symbolic link", true, 0, 0, "", "Startup/startnocturotray.vbs.lnk"}}) {
    sim::World world;
    if (*row.odd_folder) world.startup_dir = row.odd_folder;
    if (*row.reparse_point) world.reparse_points.insert(row.reparse_point);
    if (row.startup_length > 1) world.startup_dir = "C:\\" + std::string(row.startup_length - 3, 's');
    if (row.startup_length == 1) world.Fail("SHGetSpecialFolderPathW");
    if (row.installed) world.File(kInstalled, "link").File("Startup/startnocturotray.vbs.ln", "other");
    sim::Run r = sim::RunProgram(RemoveTrayLink, world, 1000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("remove "), row.removes);
    EXPECT_EQ(r.Count("_waccess"), row.startup_length || *row.odd_folder || *row.reparse_point ? 0 : 1);
    EXPECT_EQ(r.FileBytes(kInstalled), row.removes ? "" : (row.installed ? "link" : ""));
    EXPECT_EQ(r.FileBytes("Startup/startnocturotray.vbs.ln"), row.installed ? "other" : "");
  }
}

}  // namespace
