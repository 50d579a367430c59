// Start at logon: the shortcut built, copied into the Startup folder and removed.
#include <gtest/gtest.h>

#include <cstdio>

#include "common/autostart.h"
#include "common/logon_task.h"
#include "tests/security_world.h"
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
  std::remove("startnocturotray.vbs");
  OnTrayCommand(nullptr, ID_AUTOSTART_ON);
  return 0;
}

int InstallTrayLink() {
  AutostartTexts texts;
  PrepareAutostart(kTrayAutostart, &texts);
  InstallAutostart(kTrayAutostart, texts);
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
    const char* opens_as = "";  // where Windows opens the link: a folder swapped after the check
  };
  for (Row row : {Row{"installed", true, 0, 1}, Row{"not installed", false, 0, 0},
                  Row{"folder too long for the link's path", true, 240, 0},
                  Row{"no Startup folder", true, 1, 0},
                  Row{"folder whose quote would end a command's", true, 0, 0, "C:\\Users\\q\"q"},
                  Row{"folder that cmd.exe would expand", true, 0, 0, "C:\\%APPDATA%\\Startup"},
                  Row{"folder that is a junction", true, 0, 0, "", "Startup"},
                  Row{"link that is a symbolic link", true, 0, 0, "", "Startup/startnocturotray.vbs.lnk"},
                  Row{"link whose final path leaves the folder", true, 0, 0, "", "", "C:\\Windows\\System32\\x.dll"}}) {
    sim::World world;
    if (*row.odd_folder) world.startup_dir = row.odd_folder;
    if (*row.reparse_point) world.reparse_points.insert(row.reparse_point);
    if (*row.opens_as) world.long_names = {{world.startup_dir + "\\startnocturotray.vbs.lnk", row.opens_as}};
    if (row.startup_length > 1) world.startup_dir = "C:\\" + std::string(row.startup_length - 3, 's');
    if (row.startup_length == 1) world.Fail("SHGetSpecialFolderPathW");
    if (row.installed) world.File(kInstalled, "link").File("Startup/startnocturotray.vbs.ln", "other");
    sim::Run r = sim::RunProgram(RemoveTrayLink, world, 1000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("FileDispositionInfo: deleted"), row.removes);
    EXPECT_EQ(r.Count("_waccess"), row.startup_length || *row.odd_folder || *row.reparse_point ? 0 : 1);
    EXPECT_EQ(r.FileBytes(kInstalled), row.removes ? "" : (row.installed ? "link" : ""));
    EXPECT_EQ(r.FileBytes("Startup/startnocturotray.vbs.ln"), row.installed ? "other" : "");
  }
}

const char kTrayTaskFile[] = "Tasks/Nocturo/nocturotray S-1-5-21-1004336348-1177238915-682003330-1001";

// The task's definition, whatever the folder: the schema's order where it has
// one, and every character of the folder escaped.
TEST(LogonTask, TheDefinitionKeepsTheSchemasOrderAndEscapesTheFolder) {
  char16_t xml[kTaskXmlSize];
  ASSERT_TRUE(BuildLogonTaskXml(kTrayTask, u"S-1-5-21-7", u"C:\\T & <C>'s \"x\"", xml, kTaskXmlSize));
  const std::u16string text = xml;
  size_t at = 0;
  for (const char16_t* part :
       {u"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">",
        u"<Triggers><LogonTrigger><UserId>S-1-5-21-7</UserId><Delay>PT10S</Delay></LogonTrigger>",
        u"<Principal id=\"Author\"><UserId>S-1-5-21-7</UserId><LogonType>InteractiveToken</LogonType>"
        u"<RunLevel>HighestAvailable</RunLevel>",
        u"<Actions Context=\"Author\"><Exec><Command>C:\\T &amp; &lt;C&gt;&apos;s &quot;x&quot;\\nocturotray.exe"
        u"</Command><WorkingDirectory>C:\\T &amp; &lt;C&gt;&apos;s &quot;x&quot;</WorkingDirectory></Exec>",
        u"</Task>"}) {
    at = text.find(part, at);
    EXPECT_NE(at, std::u16string::npos) << "missing or out of order: part " << std::string(part, part + 24);
  }
  // Settings in any order: never on demand, normal priority, on battery, no time limit, one at a time.
  for (const char16_t* setting : {u"<AllowStartOnDemand>false<", u"<Priority>5</Priority>", u"<DisallowStartIfOnBatteries>false<",
                                  u"<StopIfGoingOnBatteries>false<", u"<ExecutionTimeLimit>PT0S<",
                                  u"<MultipleInstancesPolicy>IgnoreNew<"})
    EXPECT_NE(text.find(setting), std::u16string::npos);
  ASSERT_TRUE(BuildLogonTaskXml(kDaemonTask, u"S-1-5-21-7", u"C:\\", xml, kTaskXmlSize));
  EXPECT_NE(std::u16string(xml).find(u"<Command>C:\\nocturodaemon.exe</Command><WorkingDirectory>C:\\<"),
            std::u16string::npos);
  EXPECT_FALSE(BuildLogonTaskXml(kTrayTask, u"S-1-5-21-7", u"C:\\T", xml, 200));
  EXPECT_EQ(xml[0], 0) << "nothing cut short is left";
}

enum class Before { Nothing, Link, TaskHere, TaskElsewhere };

// 是 and 否 by the folder's kind, whether VBScript runs, and what was there;
// and a plain start (no command).
TEST(StartAtLogon, YesMakesTheTaskWhereOnlyAdministratorsCanChangeTheFolderTheLinkElsewhereAndNothingWithoutVBScript) {
  struct Row {
    const char* what;
    bool admin_only;
    const char* no_vbscript;  // how it is missing, or ""
    Before before;
    uint32_t command;
    int registers;  // a tray started where a link of its own lies moves it to the task first
    bool copies, link_after, task_after, balloon;
    const char* fails = "";
  };
  const Row rows[] = {
      {"installer's folder", true, "", Before::Nothing, ID_AUTOSTART_ON, 1, false, false, true, false},
      {"installer's folder, a link from before", true, "", Before::Link, ID_AUTOSTART_ON, 2, false, false, true, false},
      {"installer's folder, a task elsewhere", true, "", Before::TaskElsewhere, ID_AUTOSTART_ON, 1, false, false, true,
       false},
      {"installer's folder, the registration fails", true, "", Before::Nothing, ID_AUTOSTART_ON, 1, true, true, false,
       false, "RegisterTask"},
      {"installer's folder, it fails without VBScript", true, "engine", Before::Link, ID_AUTOSTART_ON, 2, false, false,
       false, true, "RegisterTask"},
      {"a user's folder, its task from before", false, "", Before::TaskHere, ID_AUTOSTART_ON, 0, true, true, false, false},
      {"a user's folder, no engine", false, "engine", Before::Link, ID_AUTOSTART_ON, 0, false, false, false, true},
      {"a user's folder, no association", false, "association", Before::Nothing, ID_AUTOSTART_ON, 0, false, false,
       false, true},
      {"a user's folder, script host off for the PC", false, "machine", Before::Nothing, ID_AUTOSTART_ON, 0, false,
       false, false, true},
      {"a user's folder, script host off for the user", false, "user", Before::Nothing, ID_AUTOSTART_ON, 0, false,
       false, false, true},
      {"a start in the installer's folder moves a link from before", true, "", Before::Link, 0, 1, false, false, true,
       false},
      {"a start in a user's folder leaves it", false, "", Before::Link, 0, 0, false, true, false, false},
      {"a start in a user's folder removes its task", false, "", Before::TaskHere, 0, 0, false, false, false, false},
      {"a start in the installer's folder removes a task elsewhere", true, "", Before::TaskElsewhere, 0, 0, false,
       false, false, false},
      {"否 in the installer's folder", true, "", Before::TaskHere, ID_AUTOSTART_OFF, 1, false, false, false, false},
      {"否 in a user's folder", false, "", Before::TaskHere, ID_AUTOSTART_OFF, 0, false, false, false, false},
  };
  for (const Row& row : rows) {
    sim::World world = TrayAt(1000, row.command);
    if (row.admin_only) sddl::InstalledByTheInstaller(world);
    const std::string here = world.current_dir + "\\nocturotray.exe";
    if (row.before == Before::Link || row.command == ID_AUTOSTART_OFF) world.File(kInstalled, "a link from before");
    if (row.before == Before::TaskHere) world.File(kTrayTaskFile, "<Command>" + here + "</Command>");
    if (row.before == Before::TaskElsewhere) world.File(kTrayTaskFile, "<Command>D:\\old\\nocturotray.exe</Command>");
    const std::string how = row.no_vbscript;
    if (how == "engine") world.files.erase(world.files.begin());  // System32/vbscript.dll
    if (how == "association") world.registry.clear();
    if (how == "machine") world.registry["HKLM\\Software\\Microsoft\\Windows Script Host\\Settings\\Enabled"] = "dword:0";
    if (how == "user") world.registry["HKCU\\Software\\Microsoft\\Windows Script Host\\Settings\\Enabled"] = "0";
    if (*row.fails) world.Fail(row.fails);
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count("ITaskFolder::RegisterTask \\Nocturo\\nocturotray S-1-5-21-"), row.registers);
    EXPECT_EQ(r.Count("cmd copies"), row.copies ? 1 : 0);
    EXPECT_EQ(!r.FileBytes(kInstalled).empty(), row.link_after);
    EXPECT_EQ(!r.FileBytes(kTrayTaskFile).empty(), row.task_after);
    EXPECT_EQ(r.Count("NIM_MODIFY size 508 window \"dockwin\" id 108 flags 16"), row.balloon ? 1 : 0);
    EXPECT_EQ(r.Count("Nocturo 无法开机启动"), row.balloon ? 1 : 0) << "nor does a re-add show it again";
    if (row.registers && !*row.fails && row.command == ID_AUTOSTART_ON) {
      EXPECT_NE(r.FileBytes(kTrayTaskFile).find("<Command>" + here + "</Command>"), std::string::npos);
      EXPECT_EQ(r.ended_at, 1000) << "no waits on the task's way";
    }
  }
}

// The task and its folder can be changed by SYSTEM and Administrators alone,
// and read by everyone else: the folder made so, or set so where it was found
// with other rights, before the task is registered; the user gets no entry.
TEST(StartAtLogon, TheTaskAndItsFolderGetRightsOnlyAdministratorsCanUse) {
  const std::string kRights = "D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;AU)";
  for (bool found : {false, true}) {
    sim::World world = TrayAt(1000, ID_AUTOSTART_ON);
    sddl::InstalledByTheInstaller(world);
    if (found) world.File("Tasks/Nocturo.sddl", "D:(A;;FA;;;AU)").File("Tasks/Nocturo/another", "<Task/>");
    sim::Run r = sim::RunProgram(RunTray, world, 10000);
    SCOPED_TRACE(r.Text());
    ExpectInOrder(r, {(found ? "ITaskFolder::SetSecurityDescriptor \\Nocturo " : "ITaskFolder::CreateFolder \\Nocturo ") + kRights,
                      "ITaskFolder::RegisterTask \\Nocturo\\nocturotray " + sddl::kAlice + " flags 22 sddl " + kRights});
    EXPECT_EQ(r.FileBytes("Tasks/Nocturo.sddl"), kRights);
  }
}

}  // namespace
