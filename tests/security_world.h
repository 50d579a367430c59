// Worlds whose installation folder only administrators can change, or not.
#pragma once
#include <string>

#include "platform/sim/sim.h"
#include "tests/admin_only_rows.h"

namespace sddl {

// The installation folder, its files (those the world holds) and the folders
// above it as the installer leaves them.
inline sim::World& InstalledByTheInstaller(sim::World& world) {
  world.current_dir = world.program_dir = kInstallDir;
  std::vector<std::string> files;
  for (const auto& file : world.files)
    if (file.first.find('/') == std::string::npos) files.push_back(file.first);
  world.security = Installed(files);
  return world;
}

}  // namespace sddl
