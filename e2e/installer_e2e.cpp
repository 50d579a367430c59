// The installer under Wine's msiexec: what a silent install puts where, that
// its shortcuts start the suite there, that settings survive, and that a
// silent removal ends the suite and leaves nothing behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "e2e/helper_client.h"
#include "e2e/wine_env.h"
#include "tray/tray.h"
#include "version.h"

namespace {

// This build's version, and any older one.
const std::string kVersion = NOCTURO_VERSION, kOlder = "1.0.0.0";
// File names on this side are UTF-8; the sources' narrow literals are GBK.
const std::string kTrayShortcut = u8"Nocturo 托盘.lnk";

// The installer of `version`, built from the programs these tests run.
std::string Installer(const std::string& version) {
  std::string out = e2e::NewFolder("installer-" + version);
  std::string command = "NOCTURO_PROGRAMS='" + e2e::PackageDir() + "' '" + NOCTURO_SOURCE_DIR +
                        "/scripts/package.sh' '" + out + "' " + version + " >/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  return out + "/nocturo-" + version + "-win32.msi";
}

// Program Files for this prefix's programs: the 32-bit one of a 64-bit prefix has "(x86)".
std::string ProgramFiles() {
  std::string x86 = "Program Files (x86)";
  return e2e::Exists(std::string(getenv("WINEPREFIX")) + "/drive_c/" + x86) ? x86 : "Program Files";
}
std::string InstallDir() { return std::string(getenv("WINEPREFIX")) + "/drive_c/" + ProgramFiles() + "/Nocturo"; }
std::string WindowsInstallDir() { return "C:\\" + ProgramFiles() + "\\Nocturo"; }

// The Start Menu folder: the machine's, or the user's where Wine puts it there.
std::string MenuFolder() {
  std::string machine = e2e::CommonStartupFolder() + "/../Nocturo";
  return e2e::Exists(machine) ? machine : e2e::StartupFolder() + "/../Nocturo";
}

std::set<std::string> Files(const std::string& folder) {
  std::set<std::string> names;
  std::error_code absent;
  for (const auto& entry : std::filesystem::directory_iterator(folder, absent)) names.insert(entry.path().filename());
  return names;
}

// Windows Installer's own codes.
constexpr int kInstallFailure = 1603, kUnknownProduct = 1605;

// msiexec's whole exit code, or -1 when it did not end within two minutes.
int Msiexec(const std::vector<std::string>& args) {
  std::string line = "msiexec";
  for (const std::string& arg : args) line += arg.find(' ') == std::string::npos ? " " + arg : " \"" + arg + "\"";
  return e2e::ExitCode(line, 120000);
}
// The package's product code, as msiinfo reads it here.
std::string ProductCode(const std::string& msi) {
  std::string command = "msiinfo export '" + msi + "' Property | tr -d '\\r' | awk -F'\\t' '$1 == \"ProductCode\" {print $2}'";
  char code[64] = "";
  if (FILE* out = popen(command.c_str(), "r")) {
    if (!fgets(code, sizeof code, out)) code[0] = 0;
    pclose(out);
  }
  return std::string(code, strcspn(code, "\n"));
}

int Install(const std::string& msi) { return Msiexec({"/i", e2e::WindowsPath(msi), "/qn"}); }
int Uninstall(const std::string& msi) { return Msiexec({"/x", e2e::WindowsPath(msi), "/qn"}); }

// Starts from no installation: a test that failed may have left one.
void Fresh(const std::string& msi) {
  Uninstall(msi);
  std::filesystem::remove_all(InstallDir());
}

// How Explorer opens a Start Menu shortcut.
void Open(const std::string& link) {
  e2e::RunWine(e2e::ToolsDir(), "start.exe", {"/unix", link}, 30000);
}

TEST(InstallerUnderWine, ASilentInstallPutsTheZipsFilesInProgramFilesAndItsShortcutsWorkThere) {
  std::string msi = Installer(kVersion);
  Fresh(msi);
  ASSERT_EQ(Install(msi), 0);
  std::string zipped = msi.substr(0, msi.rfind('/')) + "/nocturo-" + kVersion;
  ASSERT_EQ(Files(InstallDir()), Files(zipped));
  for (const std::string& name : Files(zipped))
    EXPECT_EQ(e2e::ReadFile(InstallDir() + "/" + name), e2e::ReadFile(zipped + "/" + name)) << name;

  const std::set<std::string> shortcuts = {kTrayShortcut, u8"Nocturo 熄屏.lnk", u8"Nocturo 检测.lnk",
                                           u8"Nocturo 说明.lnk"};
  ASSERT_EQ(Files(MenuFolder()), shortcuts);
  for (const std::string& name : shortcuts)
    EXPECT_EQ(e2e::ReadLink(MenuFolder() + "/" + name).workdir.rfind(WindowsInstallDir(), 0), 0u) << name;

  std::string installed = e2e::StartupFolder() + "/startnocturotray.vbs.lnk";
  std::remove(installed.c_str());
  Open(MenuFolder() + "/" + kTrayShortcut);
  ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000)) << "the tray's shortcut started no tray";
  ASSERT_TRUE(e2e::Post("DOCKWIN", "dockwin", platform::kWmCommand, ID_AUTOSTART_ON));
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(installed); }, 15000));
  EXPECT_EQ(e2e::ReadLink(installed).target, WindowsInstallDir() + "\\startnocturotray.vbs");
  EXPECT_EQ(e2e::ReadLink(installed).workdir, WindowsInstallDir());
  e2e::Post("DOCKWIN", "dockwin", platform::kWmCommand, ID_EXIT);
  e2e::WaitProcess("nocturotray.exe", false, 20000);
  EXPECT_EQ(Uninstall(msi), 0);
}

TEST(InstallerUnderWine, ChangedSettingsSurviveARepairAndAnUpgradeAndAnOlderVersionIsRefused) {
  std::string msi = Installer(kVersion), older = Installer(kOlder);
  Uninstall(older);
  Fresh(msi);
  ASSERT_EQ(Install(msi), 0);
  EXPECT_EQ(Install(older), kInstallFailure) << "an older version over a newer one";
  EXPECT_EQ(e2e::ReadFile(InstallDir() + "/nocturo.exe"), e2e::ReadFile(e2e::PackageDir() + "/nocturo.exe"));
  ASSERT_EQ(Uninstall(msi), 0);

  ASSERT_EQ(Install(older), 0);
  e2e::WriteFile(InstallDir() + "/info.ini", "[setting]\r\ndaemon=0\r\nminute=7\r\n");
  e2e::WriteFile(InstallDir() + "/tpinfo.ini", "[setting]\r\ntype=3\r\ndefault=3");
  std::string link = e2e::StartupFolder() + "/startnocturotray.vbs.lnk";
  e2e::WriteFile(link, "start at logon");
  ASSERT_EQ(Install(msi), 0) << "the upgrade";
  EXPECT_TRUE(e2e::Exists(link)) << "an upgrade keeps start at logon";
  std::remove(link.c_str());
  ASSERT_EQ(Msiexec({"/i", e2e::WindowsPath(msi), "REINSTALL=ALL", "REINSTALLMODE=vomus", "/qn"}), 0)
      << "the repair";
  EXPECT_EQ(e2e::ReadFile(InstallDir() + "/info.ini"), "[setting]\r\ndaemon=0\r\nminute=7\r\n");
  EXPECT_EQ(e2e::ReadFile(InstallDir() + "/tpinfo.ini"), "[setting]\r\ntype=3\r\ndefault=3");
  EXPECT_EQ(Msiexec({"/x", ProductCode(older), "/qn"}), kUnknownProduct) << "the upgrade left no older version to remove";
  EXPECT_TRUE(e2e::Exists(InstallDir() + "/nocturotray.exe"));
  EXPECT_EQ(Uninstall(msi), 0);
}

TEST(InstallerUnderWine, ASilentRemovalEndsTheTrayAndTheDaemonAndLeavesNothingBehind) {
  std::string msi = Installer(kVersion);
  Fresh(msi);
  ASSERT_EQ(Install(msi), 0);
  e2e::WriteFile(InstallDir() + "/info.ini", "[setting]\r\ndaemon=1\r\nminute=180\r\n");
  e2e::WriteFile(InstallDir() + "/startnocturotray.vbs.lnk", "a leftover local link");
  std::string startup = e2e::StartupFolder();
  e2e::WriteFile(startup + "/startnocturotray.vbs.lnk", "the tray's start-at-logon link");
  std::remove((startup + "/startnocturodaemon.vbs.lnk").c_str());
  Open(MenuFolder() + "/" + kTrayShortcut);
  e2e::Program daemon(e2e::StartWine(InstallDir(), InstallDir() + "/nocturodaemon.exe", {}));
  ASSERT_TRUE(e2e::WindowExists("DOCKWIN", "dockwin", 20000));
  ASSERT_TRUE(e2e::Eventually([&] { return e2e::Exists(startup + "/startnocturodaemon.vbs.lnk"); }, 20000));
  ASSERT_TRUE(e2e::WindowExists("RenderWindow", "NocturoDaemon", 20000));

  EXPECT_EQ(Uninstall(msi), 0);
  EXPECT_EQ(daemon.WaitExit(20000), 0) << "the daemon was ended, as Wine's taskkill /f ends a program";
  for (const char* image : {"nocturotray.exe", "nocturodaemon.exe"})
    EXPECT_TRUE(e2e::WaitProcess(image, false, 20000)) << image;
  EXPECT_FALSE(e2e::Exists(InstallDir())) << "left: " << Files(InstallDir()).size() << " files";
  EXPECT_FALSE(e2e::Exists(MenuFolder()));
  for (const char* link : {"startnocturotray.vbs.lnk", "startnocturodaemon.vbs.lnk"})
    EXPECT_FALSE(e2e::Exists(startup + "/" + link)) << link;
}

// Wine's scheduler keeps each task as a file of this folder.
std::string TaskStore() { return std::string(getenv("WINEPREFIX")) + "/drive_c/windows/system32/tasks/Nocturo"; }

TEST(InstallerUnderWine, AnUpgradeKeepsTheLogonTasksAndAFullRemovalTakesEveryOneOfThemWithTheirFolder) {
  std::string msi = Installer(kVersion), older = Installer(kOlder);
  Uninstall(msi);
  Fresh(older);
  e2e::RunWine(e2e::ToolsDir(), "net", {"start", "schedule"}, 60000);  // 1 when it runs already
  // The tasks and their folder go however the test ends; none left is success too.
  e2e::Undo tasks = e2e::Undo::Run("\"$WINELOADER\" \"$WIN_BUILD/e2e-tools/nochelper.exe\" task-folder-delete >/dev/null 2>&1");
  ASSERT_EQ(Install(older), 0);
  const std::string names[] = {"nocturotray S-1-5-21-1004336348-1177238915-682003330-1001", "nocturodaemon",
                               "a task of any name"};
  for (const std::string& name : names) ASSERT_TRUE(e2e::RegisterTask(name, WindowsInstallDir())) << name;
  ASSERT_EQ(Install(msi), 0) << "the upgrade";
  for (const std::string& name : names) EXPECT_TRUE(e2e::Exists(TaskStore() + "/" + name)) << name << " kept";
  EXPECT_EQ(Uninstall(msi), 0);
  EXPECT_FALSE(e2e::Exists(TaskStore())) << "left: " << Files(TaskStore()).size() << " tasks";
}

}  // namespace
