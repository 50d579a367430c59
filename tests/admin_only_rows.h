// Security descriptors of real Windows folders and files, as SDDL, and
// folders secured so that only administrators can change them, or not, each
// with the answer. The simulator's tests and the Wine test of the Windows
// reader judge the same rows.
#pragma once
#include <map>
#include <string>
#include <vector>

namespace sddl {


const std::string kTrustedInstaller = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";
const std::string kAlice = "S-1-5-21-1004336348-1177238915-682003330-1001";

// C:\ of Windows 10 and 11 (Get-Acl C:\ | % Sddl): Authenticated Users may
// add folders to it (LC, this folder only) and get Modify on what they add.
const std::string kDriveRoot = "O:" + kTrustedInstaller + "G:" + kTrustedInstaller +
                               "D:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)"
                               "(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)";
// C:\Program Files and C:\Program Files (x86), the same on both.
const std::string kProgramFiles =
    "O:" + kTrustedInstaller + "G:" + kTrustedInstaller + "D:PAI(A;;FA;;;" + kTrustedInstaller + ")(A;CIIO;GA;;;" +
    kTrustedInstaller +
    ")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)(A;;0x1200a9;;;BU)"
    "(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)(A;OICIIO;GXGR;;;AC)(A;;0x1200a9;;;S-1-15-2-2)"
    "(A;OICIIO;GXGR;;;S-1-15-2-2)";
// The folder the installer (as SYSTEM) makes in it, and a file it puts there:
// what Program Files' inheritable entries give them.
const std::string kInstalledFolder =
    "O:SYG:SYD:AI(A;ID;FA;;;" + kTrustedInstaller + ")(A;CIIOID;GA;;;" + kTrustedInstaller +
    ")(A;ID;FA;;;SY)(A;OICIIOID;GA;;;SY)(A;ID;FA;;;BA)(A;OICIIOID;GA;;;BA)(A;ID;0x1200a9;;;BU)"
    "(A;OICIIOID;GXGR;;;BU)(A;OICIIOID;GA;;;CO)(A;ID;0x1200a9;;;AC)(A;OICIIOID;GXGR;;;AC)"
    "(A;ID;0x1200a9;;;S-1-15-2-2)(A;OICIIOID;GXGR;;;S-1-15-2-2)";
const std::string kInstalledFile =
    "O:SYG:SYD:AI(A;ID;FA;;;SY)(A;ID;FA;;;BA)(A;ID;0x1200a9;;;BU)(A;ID;0x1200a9;;;AC)(A;ID;0x1200a9;;;S-1-15-2-2)";

const char kInstallDir[] = "C:\\Program Files (x86)\\Nocturo";

// The descriptors the installer leaves: the folders above the installation
// folder, it, and each of `files` in it.
inline std::map<std::string, std::string> Installed(const std::vector<std::string>& files) {
  std::map<std::string, std::string> security = {
      {"C:\\", kDriveRoot}, {"C:\\Program Files (x86)", kProgramFiles}, {kInstallDir, kInstalledFolder}};
  for (const std::string& file : files) security[std::string(kInstallDir) + "\\" + file] = kInstalledFile;
  return security;
}

struct AdminOnlyRow {
  const char* what;
  std::string folder;                             // where the program runs
  std::map<std::string, std::string> security;  // path: SDDL, "" where it cannot be read
  bool yes;
};

// Each row's folder holds `files`, secured as the installer's are unless the row says otherwise.
inline std::vector<AdminOnlyRow> AdminOnlyRows(const std::vector<std::string>& files) {
  const std::string dir = kInstallDir, exe = dir + "\\panelblank.exe";
  const std::string profile = "C:\\Users\\alice\\Downloads\\Nocturo", at_root = "C:\\Nocturo";
  // Inherited from the profile (O:alice D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;alice)).
  const std::string in_profile = "O:" + kAlice + "D:AI(A;OICIID;FA;;;SY)(A;OICIID;FA;;;BA)(A;OICIID;FA;;;" + kAlice + ")";
  // Made at the root of C:, inheriting Authenticated Users' Modify from it.
  const std::string made_at_root = "D:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)"
                                   "(A;ID;0x1301bf;;;AU)(A;OICIIOID;SDGXGWGR;;;AU)";
  struct Change {
    const char* what;
    std::string folder;
    std::vector<std::pair<std::string, std::string>> sddl;  // over the installer's; "" cannot be read
    bool yes;
  };
  const Change changes[] = {
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
  std::vector<AdminOnlyRow> rows;
  for (const Change& change : changes) {
    AdminOnlyRow row = {change.what, change.folder, Installed(files), change.yes};
    for (const auto& entry : change.sddl) row.security[entry.first] = entry.second;
    for (const std::string& file : files) row.security.emplace(change.folder + "\\" + file, kInstalledFile);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace sddl
