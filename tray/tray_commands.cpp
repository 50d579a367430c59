// What the icon's clicks and the menu's items do. Everything runs on the
// tray's one thread, fixed waits included; clicks meanwhile queue up.
#include "common/command_lines.h"
#include "common/process_names.h"
#include "common/same_publisher.h"
#include "common/settings.h"
#include "common/shell_command.h"
#include "common/start_at_logon.h"
#include "common/texts.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/menus.h"
#include "platform/messages.h"
#include "platform/threads.h"
#include "tray/tray.h"

#include <cstring>

constexpr uint32_t kBeforeBlankerMs = 500;  // the blanker reads tpinfo.ini as it starts
using platform::kMfByPosition, platform::kMfChecked, platform::kMfPopup, platform::kMfSeparator, platform::kMfString,
    platform::kModAlt, platform::kModControl, platform::kModNoRepeat, platform::kModShift, platform::kNimAdd,
    platform::kNimDelete, platform::kTpmRightButton, platform::kVkF12, platform::kWmLButtonDown, platform::kWmNull,
    platform::kWmRButtonDown;

const TrayHotkey kHotkeys[kHotkeyCount] = {{"Ctrl+Alt+B", kModControl | kModAlt, 'B'},
                                           {"Ctrl+Alt+M", kModControl | kModAlt, 'M'},
                                           {"Ctrl+Shift+F12", kModControl | kModShift, kVkF12}};
int32_t trayHotkey = 0;
bool trayHotkeyHeld = false;

struct MenuEntry {
  uint32_t flags;
  uint32_t id;
  const char* text;
};

static const MenuEntry kTopLevel[] = {
    {kMfString, ID_RUN_NORMAL, kMenuNormal}, {kMfString, ID_RUN_LOCKSCREEN, kMenuLockScreen},
    {kMfString, ID_RUN_ENHANCED, kMenuEnhanced}, {kMfSeparator, 0, nullptr},
    {kMfSeparator, 0, nullptr},              {kMfString, ID_EXIT, kMenuExit},
};
static const MenuEntry kStartAtLogon[] = {{kMfString, ID_AUTOSTART_ON, kMenuYes},
                                          {kMfString, ID_AUTOSTART_OFF, kMenuNo}};
static const MenuEntry kLeftClick[] = {
    {kMfString, ID_CLICK_NORMAL, kMenuNormal}, {kMfString, ID_CLICK_LOCKSCREEN, kMenuLockScreen},
    {kMfString, ID_CLICK_ENHANCED, kMenuEnhanced}, {kMfString, ID_CLICK_MENU, kMenuModeList}};
static const MenuEntry kHotkeyMenu[] = {{kMfString, ID_HOTKEY_NONE, kMenuNoHotkey},
                                        {kMfString, ID_HOTKEY_NONE + 1, kHotkeys[0].name},
                                        {kMfString, ID_HOTKEY_NONE + 2, kHotkeys[1].name},
                                        {kMfString, ID_HOTKEY_NONE + 3, kHotkeys[2].name}};

// The item `checked` shows a check mark; 0 for none.
template <size_t N>
static platform::Handle BuildMenu(const MenuEntry (&entries)[N], uint32_t checked = 0) {
  platform::Handle menu = platform::CreatePopupMenu();
  for (const MenuEntry& e : entries)
    platform::AppendMenuItem(menu, e.flags | (checked && e.id == checked ? kMfChecked : 0), e.id, e.text);
  return menu;
}

// Writes the run's mode, closes the file, and gives it a moment before the
// blanker starts and reads it.
static void StartTrayBlanker(int32_t type, int32_t left_click_mode) {
  WriteTrayPrefs(type, left_click_mode, trayHotkey);
  platform::Sleep(kBeforeBlankerMs);
  if (SiblingOfOurPublisher(kTrayBlankerImage))
    ShellCommand(kStartTrayBlanker, false);
  else
    ShowTrayBalloon(kNotOurSiblingTitle, kNotOurSiblingText);
}

void OnTrayIcon(platform::Handle window, uintptr_t wparam, intptr_t lparam) {
  if (wparam != kTrayIconId) return;
  // Both buttons act on their press; releases and double clicks do nothing.
  if (lparam == kWmRButtonDown) {
    ShowTrayMenu(window);
  } else if (lparam == kWmLButtonDown) {
    int32_t mode = ClampLeftClickMode(ReadSetting(kTrayIni, "default"));
    if (mode == 0)
      ShowTrayMenu(window);
    else
      StartTrayBlanker(mode, mode);
  }
}

void ShowTrayMenu(platform::Handle window) {
  // Unless the window is in the foreground, the menu stays open when the user
  // clicks elsewhere.
  platform::SetForegroundWindow(window);
  platform::Point at = {0, 0};
  platform::GetCursorPos(&at);
  platform::Handle menu = BuildMenu(kTopLevel);
  platform::InsertMenuItemAt(menu, 4, kMfByPosition | kMfPopup,
                             reinterpret_cast<uintptr_t>(BuildMenu(kStartAtLogon)), kMenuStartAtLogon);
  platform::InsertMenuItemAt(menu, 5, kMfByPosition | kMfPopup,
                             reinterpret_cast<uintptr_t>(BuildMenu(kLeftClick)), kMenuLeftButton);
  platform::InsertMenuItemAt(menu, 6, kMfByPosition | kMfPopup,
                             reinterpret_cast<uintptr_t>(BuildMenu(kHotkeyMenu, ID_HOTKEY_NONE + trayHotkey)),
                             kMenuHotkey);
  platform::TrackPopupMenu(menu, kTpmRightButton, at.x, at.y, window);
  // Without a message of our own after the menu, it may not show right the
  // next time.
  platform::PostMessageA(window, kWmNull, 0, 0);
  platform::DestroyMenu(menu);
}

void RunBlanker(int32_t mode) {
  StartTrayBlanker(mode, ClampLeftClickMode(ReadSetting(kTrayIni, "default")));
}

// The tooltip changes by deleting the icon and adding it again.
void SetClickMode(int32_t mode) {
  WriteTrayPrefs(mode, mode, trayHotkey);
  platform::NotifyIcon(kNimDelete, trayIcon);
  SetTrayTooltip(mode);
  platform::NotifyIcon(kNimAdd, trayIcon);
}

bool RegisterTrayHotkey() {
  if (trayHotkeyHeld) platform::UnregisterHotKey(trayIcon.window, kTrayHotkeyId);
  const TrayHotkey* chosen = trayHotkey ? &kHotkeys[trayHotkey - 1] : nullptr;
  trayHotkeyHeld = chosen && platform::RegisterHotKey(trayIcon.window, kTrayHotkeyId,
                                                      chosen->modifiers | kModNoRepeat, chosen->key);
  return !chosen || trayHotkeyHeld;
}

void ShowHotkeyTaken() {
  char text[sizeof trayIcon.info] = {};
  std::strncpy(text, kHotkeys[trayHotkey - 1].name, sizeof text - 1);
  std::strncat(text, kHotkeyTakenText, sizeof text - 1 - std::strlen(text));
  ShowTrayBalloon(kHotkeyTakenTitle, text);
}

// The file keeps the left-click mode (as "type" too), and the tooltip names the combination held.
void SetHotkey(int32_t hotkey) {
  trayHotkey = hotkey;
  bool held = RegisterTrayHotkey();
  SetClickMode(ClampLeftClickMode(ReadSetting(kTrayIni, "default")));
  if (!held) ShowHotkeyTaken();
}

void OnTrayHotkey() {
  int32_t mode = ClampLeftClickMode(ReadSetting(kTrayIni, "default"));
  RunBlanker(mode != 0 ? mode : kModeNormal);
}

bool OnTrayCommand(platform::Handle, uint32_t id) {
  if (id >= ID_HOTKEY_NONE && id <= ID_HOTKEY_NONE + kHotkeyCount) {
    SetHotkey(static_cast<int32_t>(id - ID_HOTKEY_NONE));
    return true;
  }
  switch (id) {
    case ID_RUN_NORMAL: RunBlanker(kModeNormal); return true;
    case ID_RUN_LOCKSCREEN: RunBlanker(kModeLockScreen); return true;
    case ID_RUN_ENHANCED: RunBlanker(kModeEnhanced); return true;
    case ID_AUTOSTART_ON:
      if (platform::Access(kTrayAutostart.script, 0) == 0 &&
          TurnOnStartAtLogon(kTrayStart) == LogonWay::None)
        ShowTrayBalloon(kNoStartAtLogonTitle, kNoStartAtLogonText);
      return true;
    case ID_AUTOSTART_OFF: TurnOffStartAtLogon(kTrayStart); return true;
    case ID_EXIT:
      // A running blanker is left alone.
      platform::NotifyIcon(kNimDelete, trayIcon);
      platform::Exit(0);
    case ID_CLICK_NORMAL: SetClickMode(kModeNormal); return true;
    case ID_CLICK_LOCKSCREEN: SetClickMode(kModeLockScreen); return true;
    case ID_CLICK_ENHANCED: SetClickMode(kModeEnhanced); return true;
    case ID_CLICK_MENU: SetClickMode(0); return true;
  }
  return false;
}
