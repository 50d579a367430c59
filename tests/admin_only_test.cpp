// "Only administrators can change it", judged from real security descriptors.
#include <gtest/gtest.h>

#include <string>

#include "common/admin_only.h"
#include "tests/security_world.h"
#include "tests/tray_world.h"

namespace {

using namespace sddl;

int Judge() {
  PathBuffer folder;
  bool yes = OnlyAdministratorsCanChange(&folder);
  std::string ascii(folder.text, folder.text + (yes ? folder.length : 0));
  sim::Note("%s %s", yes ? "yes" : "no", ascii.c_str());
  return 0;
}

TEST(AdministratorsOnly, OnlyTheInstallersFolderPassesAndEveryFaultOrFailedReadIsANo) {
  const std::string dir = kInstallDir;
  sim::World installed = TrayWorld("1");
  InstalledByTheInstaller(installed);
  std::vector<std::string> files;
  for (const auto& entry : installed.security)
    if (entry.first.rfind(dir + "\\", 0) == 0) files.push_back(entry.first.substr(dir.size() + 1));
  for (const AdminOnlyRow& row : AdminOnlyRows(files)) {
    sim::World world = installed;
    world.current_dir = world.program_dir = row.folder;
    world.security.clear();
    for (const auto& entry : row.security)
      if (!entry.second.empty()) world.security[entry.first] = entry.second;
    sim::Run r = sim::RunProgram(Judge, world, 1000);
    SCOPED_TRACE(std::string(row.what) + "\n" + r.Text());
    EXPECT_EQ(r.Count(row.yes ? "note yes " + dir : "note no"), 1);
  }
  // A junction in the path is followed to where it leads, which is judged.
  sim::World world = TrayWorld("1");
  InstalledByTheInstaller(world);
  world.current_dir = world.program_dir = "C:\\Users\\alice\\Nocturo";
  world.junctions = {{"C:\\Users\\alice\\Nocturo", dir}};
  sim::Run r = sim::RunProgram(Judge, world, 1000);
  EXPECT_EQ(r.Count("note yes " + dir), 1) << r.Text();
  world.junctions = {{"C:\\Users\\alice\\Nocturo", "C:\\Users\\alice\\elsewhere"}};
  r = sim::RunProgram(Judge, world, 1000);
  EXPECT_EQ(r.Count("note no"), 1) << r.Text();
}

}  // namespace
