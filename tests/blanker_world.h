// Worlds and entries for running the blanker under the simulated Windows.
#pragma once
#include <string>

#include "blanker/blanker.h"
#include "platform/sim/sim.h"

inline int RunNocturo() { return BlankerMain(kNocturoVariant); }
inline int RunPanelBlank() { return BlankerMain(kPanelBlankVariant); }

// nocturo.exe with "type=<type>" in info.ini.
inline sim::World NocturoWorld(const std::string& type) {
  sim::World world;
  world.File("info.ini", "[setting]\r\ntype=" + type + "\r\n");
  return world;
}

constexpr char kBroadcast[] = "SendMessageTimeoutA HWND_BROADCAST WM_SYSCOMMAND SC_MONITORPOWER 2 flags 0002 timeout 1000";
constexpr char kLock[] = "\"/d /v:off /c rundll32.exe user32.dll, LockWorkStation\" null 0";
