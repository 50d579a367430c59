// Worlds and helpers for running the tray under the simulated Windows.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "platform/sim/sim.h"
#include "platform/threads.h"
#include "tests/trace_checks.h"
#include "tray/tray.h"

inline int RunTray() { return TrayMain(platform::GetModuleHandleA(nullptr)); }

inline std::string TrayFile(const std::string& left_click_mode) {
  return "[setting]\r\ntype=1" + (left_click_mode.empty() ? "" : "\r\ndefault=" + left_click_mode);
}

// An installation folder with everything the tray needs, `default` as given
// ("" leaves the key out).
inline sim::World TrayWorld(const std::string& left_click_mode) {
  sim::World world;
  world.image_name = "nocturotray.exe";
  world.strings = {{103, "dockwin"}, {109, "DOCKWIN"}};
  world.File("startnocturotray.vbs", "'").File("nocturotray.exe", "MZ").File("panelblank.exe", "MZ");
  world.File("tpinfo.ini", TrayFile(left_click_mode));
  return world;
}

inline sim::World& Click(sim::World& world, int64_t at, intptr_t mouse_message,
                         uintptr_t icon = kTrayIconId) {
  return world.Post(at, kWmTrayIcon, icon, mouse_message, "dockwin");
}

constexpr intptr_t kLeftDown = 0x0201, kLeftUp = 0x0202, kLeftDouble = 0x0203;
constexpr intptr_t kRightDown = 0x0204, kRightUp = 0x0205;
constexpr char kStartsBlanker[] = "\"/d /v:off /c start ./panelblank.exe\" null 0";

inline std::string Written(int type, int left_click_mode) {
  return "[setting]\r\ntype=" + std::to_string(type) + "\r\ndefault=" + std::to_string(left_click_mode);
}

// The tray started and waits for messages with nothing left to come.
inline bool StillWaiting(const sim::Run& r) {
  return r.end == sim::End::Deadlock && r.First("t1:waiting for messages") != -1;
}
