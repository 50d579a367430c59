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

extern const uint32_t taskbarCreatedMessage;
extern platform::NotifyIconRecord trayIcon;

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
