// Start at logon under Wine. Wine makes up every file's security (the user
// owns it), so no folder there is one only administrators can change: the
// tray and the daemon take the link's way, and without VBScript none. The
// task's way is the simulator's; here the product's task functions, run from
// the helper, register and remove tasks in Wine's scheduler, and judge the
// simulator's table of descriptors, converted by Windows' own SDDL reader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "tests/admin_only_rows.h"
#include "tray/tray.h"

namespace {

const std::string kTrayLink = "startnocturotray.vbs.lnk", kDaemonLink = "startnocturodaemon.vbs.lnk";

std::string Prefix() { return getenv("WINEPREFIX"); }
std::string Engine() { return Prefix() + "/drive_c/windows/system32/vbscript.dll"; }
std::string TaskStore() { return Prefix() + "/drive_c/windows/system32/tasks/Nocturo"; }

void Command(uint32_t id) { ASSERT_TRUE(e2e::Post("DOCKWIN", "dockwin", platform::kWmCommand, id)); }

std::string Tray(const std::string& name) {
  std::string folder = e2e::InstallFolder(name, {"nocturotray.exe", "panelblank.exe", "startnocturotray.vbs"});
  e2e::WriteFile(folder + "/tpinfo.ini", "[setting]\r\ntype=1\r\ndefault=1");
  return folder;
}

// Without VBScript's engine a link would fail at every logon: none is made,
// one of ours goes, and the tray and the daemon run on.
TEST(StartAtLogonUnderWine, WithoutVBScriptYesAndTheDaemonMakeNoLinkRemoveOursAndRunOn) {
  ASSERT_TRUE(e2e::Exists(Engine()));
  e2e::Undo engine = e2e::Undo::MoveAside(Engine());
  const std::string tray_link = e2e::StartupFolder() + "/" + kTrayLink, daemon_link = e2e::StartupFolder() + "/" + kDaemonLink;
  e2e::WriteFile(tray_link, "a link from before");
  e2e::WriteFile(daemon_link, "a link from before");
  e2e::Undo links = e2e::Undo::Run("rm -f '" + tray_link + "' '" + daemon_link + "'");

  std::string folder = Tray("no-vbscript tray");
  e2e::Program tray(e2e::StartWine(folder, folder + "/nocturotray.exe", {}));
  ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
  Command(ID_AUTOSTART_ON);
  // The next command writes the file: by then 是 is done, on the tray's one thread.
  Command(ID_CLICK_ENHANCED);
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::ReadFile(folder + "/tpinfo.ini").find("default=3") != std::string::npos; },
                              20000));
  EXPECT_FALSE(e2e::Exists(tray_link)) << "the tray's link from before is gone, and no new one came";
  EXPECT_FALSE(e2e::Exists(folder + "/" + kTrayLink));
  EXPECT_TRUE(tray.Running());

  std::string daemon_folder = e2e::InstallFolder("no-vbscript daemon", {"nocturodaemon.exe", "startnocturodaemon.vbs"});
  e2e::WriteFile(daemon_folder + "/info.ini", "[setting]\r\ndaemon=1\r\n");
  e2e::Program daemon(e2e::StartWine(daemon_folder, daemon_folder + "/nocturodaemon.exe", {}));
  ASSERT_TRUE(e2e::WindowExists("RenderWindow", "NocturoDaemon", 20000)) << "the monitor runs";
  EXPECT_FALSE(e2e::Exists(daemon_link));
  EXPECT_FALSE(e2e::Exists(daemon_folder + "/" + kDaemonLink));
  EXPECT_TRUE(daemon.Running());
}

// The product's functions: Wine keeps a task's settings (not its trigger,
// principal or action) in its store, one file a task.
TEST(StartAtLogonUnderWine, TheTaskFunctionsRegisterAndRemoveTasksInTheNocturoFolder) {
  e2e::RunWine(e2e::ToolsDir(), "net", {"start", "schedule"}, 60000);  // 1 when it runs already
  e2e::Undo store = e2e::Undo::Run("rm -rf '" + TaskStore() + "'");
  const std::string name = "nocturotray S-1-5-21-1004336348-1177238915-682003330-1001";
  ASSERT_TRUE(e2e::RegisterTask(name, "C:\\Program Files (x86)\\Nocturo"));
  ASSERT_TRUE(e2e::RegisterTask("another", "C:\\T & Co"));
  std::string stored = e2e::ReadFile(TaskStore() + "/" + name);
  for (const char* setting : {"<AllowStartOnDemand>false<", "<Priority>5</Priority>", "<DisallowStartIfOnBatteries>false<",
                              "<StopIfGoingOnBatteries>false<", "<ExecutionTimeLimit>PT0S<",
                              "<MultipleInstancesPolicy>IgnoreNew<"})
    EXPECT_NE(stored.find(setting), std::string::npos) << setting << " in\n" << stored;
  EXPECT_EQ(e2e::DeleteTask(name), "00000000");
  EXPECT_EQ(e2e::DeleteTask(name), "00000001") << "S_FALSE: no such task";
  EXPECT_FALSE(e2e::Exists(TaskStore() + "/" + name));
  EXPECT_TRUE(e2e::Exists(TaskStore() + "/another"));
  EXPECT_EQ(e2e::DeleteTaskFolder(), "00000000");
  EXPECT_FALSE(e2e::Exists(TaskStore())) << "every task and the folder";
}

// The Windows reader (SIDs, entry layouts, a null DACL) gives each row the
// simulator's answer, "yes" included, which no folder under Wine can give.
TEST(AdminOnlyUnderWine, TheWindowsReaderJudgesEachRowOfTheSimulatorsTableAlike) {
  const std::string table = e2e::NewFolder("admin-only") + "/table";
  for (const sddl::AdminOnlyRow& row : sddl::AdminOnlyRows({"nocturotray.exe", "panelblank.exe", "tpinfo.ini"})) {
    if (row.folder.rfind("C:\\", 0) != 0) continue;  // a share: its path says no, not a descriptor
    std::string lines;
    for (const auto& [path, sddl] : row.security) lines += path + "\t" + sddl + "\n";
    e2e::WriteFile(table, lines);
    EXPECT_EQ(e2e::AdminOnly(row.folder, table), row.yes ? "yes" : "no") << row.what;
  }
}

}  // namespace
