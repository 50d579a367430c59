// Security descriptors of real Windows folders and files, as SDDL, for worlds
// whose installation folder only administrators can change, or not.
#pragma once
#include <string>

#include "platform/sim/sim.h"

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

// The installation folder, its files (those the world holds) and the folders
// above it as the installer leaves them.
inline sim::World& InstalledByTheInstaller(sim::World& world) {
  world.current_dir = world.program_dir = kInstallDir;
  world.security = {{"C:\\", kDriveRoot}, {"C:\\Program Files (x86)", kProgramFiles}, {kInstallDir, kInstalledFolder}};
  for (const auto& file : world.files)
    if (file.first.find('/') == std::string::npos)
      world.security[std::string(kInstallDir) + "\\" + file.first] = kInstalledFile;
  return world;
}

}  // namespace sddl
