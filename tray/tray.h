// The tray controller: one hidden window, one notification-area icon whose
// tooltip names the left-click mode, and the menu's commands.
#pragma once
#include <cstdint>

#include "platform/tray.h"
#include "platform/types.h"
#include "platform/win_values.h"

constexpr uint32_t kTrayIconId = 108;
constexpr uint32_t kWmTrayIcon = platform::kWmUser + 1;

constexpr uint32_t ID_RUN_NORMAL = 201;
constexpr uint32_t ID_RUN_LOCKSCREEN = 202;
constexpr uint32_t ID_RUN_ENHANCED = 203;
constexpr uint32_t ID_AUTOSTART_ON = 206;
constexpr uint32_t ID_AUTOSTART_OFF = 207;
constexpr uint32_t ID_EXIT = 208;
constexpr uint32_t ID_CLICK_NORMAL = 209;
constexpr uint32_t ID_CLICK_LOCKSCREEN = 210;
constexpr uint32_t ID_CLICK_ENHANCED = 211;
constexpr uint32_t ID_CLICK_MENU = 212;
// The hotkey submenu: none, then each of kHotkeys in order (214 to 216).
constexpr uint32_t ID_HOTKEY_NONE = 213;

// The key combinations a user can choose, `hotkey` 1 to 3 in tpinfo.ini.
struct TrayHotkey {
  const char* name;
  uint32_t modifiers;
  uint32_t key;
};
constexpr uint32_t kHotkeyCount = 3;
extern const TrayHotkey kHotkeys[kHotkeyCount];
constexpr int32_t kTrayHotkeyId = 1;  // WM_HOTKEY's wParam

extern const uint32_t taskbarCreatedMessage;
extern platform::NotifyIconRecord trayIcon;
// The hotkey chosen (0 none), kept in tpinfo.ini, and whether the tray holds it.
extern int32_t trayHotkey;
extern bool trayHotkeyHeld;

int TrayMain(platform::Handle instance);
// The checks and the window with its icon; false when the tray is not to run.
bool StartTray(platform::Handle instance);
void RegisterTrayClass(platform::Handle instance);
int32_t CreateTrayWindow(platform::Handle instance);
const char* TooltipForMode(int32_t mode);
void SetTrayTooltip(int32_t mode);
// A balloon from the icon; the icon's own record keeps none of it, or every
// re-add of the icon would show it again.
void ShowTrayBalloon(const char* title, const char* text);
intptr_t PLATFORM_CALLBACK TrayWindowProc(platform::Handle window, uint32_t message,
                                          uintptr_t wparam, intptr_t lparam);

// Commands, on the tray's one thread.
void OnTrayIcon(platform::Handle window, uintptr_t wparam, intptr_t lparam);
void ShowTrayMenu(platform::Handle window);
// False for an identifier that is not one of the menu's.
bool OnTrayCommand(platform::Handle window, uint32_t id);
void RunBlanker(int32_t mode);
void SetClickMode(int32_t mode);
// Registers the chosen hotkey on the tray's window, the one held before let
// go first; false when another program holds it.
bool RegisterTrayHotkey();
// The balloon that says which combination another program holds.
void ShowHotkeyTaken();
// A menu choice: registered, kept in tpinfo.ini, shown in the tooltip.
void SetHotkey(int32_t hotkey);
// The hotkey pressed: what a left click does, Normal where a left click opens the menu.
void OnTrayHotkey();
