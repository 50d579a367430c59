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
  const std::string dir = kInstallDir, exe = dir + "\\panelblank.exe";
  const std::string profile = "C:\\Users\\alice\\Downloads\\Nocturo", at_root = "C:\\Nocturo";
  // Inherited from the profile (O:alice D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;alice)).
  const std::string in_profile = "O:" + kAlice + "D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;" + kAlice + ")";
  // Made at the root of C:, inheriting Authenticated Users' Modify from it.
  const std::string made_at_root = "D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)"
                                   "(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)";
  struct Row {
    const char* what;
    std::string folder;                               // where the program runs
    std::vector<std::pair<std::string, std::string>> sddl;  // over the installer's
    bool yes;
  };
  const Row rows[] = {
      {"the installer's folder in Program Files (x86)", dir, {}, true},
      {"a zip unpacked in the user's profile", profile,
       {{profile, in_profile}, {"C:\\Users\\alice\\Downloads", in_profile},
        {"C:\\Users\\alice", "O:" + kAlice + "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;" + kAlice + ")"},
        {"C:\\Users", "O:SYD:PAI(A;OICIIO;GA;;;CO)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;;0x1200a9;;;BU)"}},
       false},
      {"a folder a user made at the root of C:", at_root, {{at_root, "O:" + kAlice + made_at_root}}, false},
      {"a folder an administrator made there", at_root, {{at_root, "O:BA" + made_at_root}}, false},
      {"a folder only administrators can change, where every user may make one", at_root,
       {{at_root, "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"}}, false},
      {"the installer's folder where Users may make folders beside it", dir,
       {{"C:\\Program Files (x86)", kProgramFiles + "(A;;0x4;;;BU)"}}, false},
      {"Authenticated Users granted Modify by an installer", dir, {{dir, kInstalledFolder + "(A;OICI;0x1301bf;;;AU)"}},
       false},
      {"Users may change a folder above", dir, {{"C:\\Program Files (x86)", kProgramFiles + "(A;;0x1301bf;;;BU)"}},
       false},
      {"a user owns a folder above", dir, {{"C:\\Program Files (x86)", "O:" + kAlice + kProgramFiles.substr(kProgramFiles.find("G:"))}},
       false},
      {"one program file the user may write", dir, {{exe, kInstalledFile + "(A;;FA;;;" + kAlice + ")"}}, false},
      {"the user owns the folder", dir, {{dir, "O:" + kAlice + kInstalledFolder.substr(4)}}, false},
      {"Users may add files through an inheritable entry", dir, {{dir, kInstalledFolder + "(A;OICIIO;GW;;;BU)"}},
       false},
      {"Users given the plain Write of the security dialog", dir, {{dir, kInstalledFolder + "(A;OICI;0x100116;;;BU)"}},
       false},
      {"a null DACL (FAT)", dir, {{dir, "O:BAD:NO_ACCESS_CONTROL"}}, false},
      {"a file whose security cannot be read", dir, {{exe, ""}}, false},
      {"a network share", "\\\\server\\share\\Nocturo", {}, false},
  };
  for (const Row& row : rows) {
    sim::World world = TrayWorld("1");
    InstalledByTheInstaller(world);
    world.current_dir = world.program_dir = row.folder;
    for (const auto& entry : row.sddl)
      if (entry.second.empty()) world.security.erase(entry.first);
      else world.security[entry.first] = entry.second;
    if (row.folder != dir)  // its files where it runs, as the installer's were
      for (const auto& file : world.files)
        if (file.first.find('/') == std::string::npos && !world.security.count(row.folder + "\\" + file.first))
          world.security[row.folder + "\\" + file.first] = kInstalledFile;
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
