// The tray's frame: start-up checks, the hidden window, the icon, the loop.
#include <cstring>

#include "common/autostart.h"
#include "common/message_loops.h"
#include "common/own_folder.h"
#include "common/process_names.h"
#include "common/settings.h"
#include "common/shell_command.h"
#include "common/start_at_logon.h"
#include "common/texts.h"
#include "platform/files.h"
#include "platform/messages.h"
#include "platform/resources.h"
#include "platform/window.h"
#include "tray/tray.h"

// Registered before the entry runs, so no broadcast can come too early.
const uint32_t taskbarCreatedMessage = platform::RegisterWindowMessageA("TaskbarCreated");

platform::NotifyIconRecord trayIcon;
static char appTitle[100];
static char windowClassName[100];
static platform::Handle trayInstance;

constexpr uint32_t kTitleString = 103;
constexpr uint32_t kClassString = 109;
constexpr uint16_t kLargeIcon = 107;
constexpr uint16_t kSmallIcon = 108;
using platform::kColorWindow, platform::kCsHRedrawVRedraw, platform::kCwUseDefault,
    platform::kIdcArrow, platform::kMsgfltAllow, platform::kNifIcon, platform::kNifInfo, platform::kNifMessage,
    platform::kNifTip, platform::kNiifWarning, platform::kNimAdd, platform::kNimDelete, platform::kNimModify,
    platform::kSwHide,
    platform::kWmCommand, platform::kWmDestroy, platform::kWmHotkey, platform::kWmPaint, platform::kWsOverlappedWindow;
constexpr uintptr_t kWindowBrush = kColorWindow + 1;
// The narrow record's size in the 32-bit layout that ships; the 64-bit test
// build passes its own layout's size.
#if defined(_WIN64)
constexpr uint32_t kNotifyIconSize = 528;
#else
constexpr uint32_t kNotifyIconSize = 508;
#endif

static const char* const kRequiredFiles[] = {"startnocturotray.vbs", kTrayImage, kTrayBlankerImage,
                                             kTrayIniPresence};

const char* TooltipForMode(int32_t mode) {
  switch (mode) {
    case kModeNormal: return kTooltipNormal;
    case kModeLockScreen: return kTooltipLockScreen;
    case kModeEnhanced: return kTooltipEnhanced;
    default: return kTooltipNone;
  }
}

// The left-click mode's text, then the hotkey the tray holds.
void SetTrayTooltip(int32_t mode) {
  std::memset(trayIcon.tip, 0, sizeof trayIcon.tip);
  std::strncpy(trayIcon.tip, TooltipForMode(mode), sizeof trayIcon.tip - 1);
  if (!trayHotkeyHeld) return;
  std::strncat(trayIcon.tip, " ", sizeof trayIcon.tip - 1 - std::strlen(trayIcon.tip));
  std::strncat(trayIcon.tip, kHotkeys[trayHotkey - 1].name, sizeof trayIcon.tip - 1 - std::strlen(trayIcon.tip));
}

void ShowTrayBalloon(const char* title, const char* text) {
  platform::NotifyIconRecord balloon = trayIcon;
  balloon.flags = kNifInfo;
  std::strncpy(balloon.info_title, title, sizeof balloon.info_title - 1);
  std::strncpy(balloon.info, text, sizeof balloon.info - 1);
  balloon.info_flags = kNiifWarning;
  platform::NotifyIcon(kNimModify, balloon);
}

void RegisterTrayClass(platform::Handle instance) {
  platform::WindowClassFields fields = {};
  fields.style = kCsHRedrawVRedraw;
  fields.proc = TrayWindowProc;
  fields.instance = instance;
  fields.icon = platform::LoadIconA(instance, kLargeIcon);
  fields.small_icon = platform::LoadIconA(instance, kSmallIcon);
  fields.cursor = platform::LoadCursorA(nullptr, kIdcArrow);
  fields.background = kWindowBrush;
  fields.class_name = windowClassName;
  platform::RegisterClassExA(fields);
}

int32_t CreateTrayWindow(platform::Handle instance) {
  trayInstance = instance;
  platform::WindowFields fields = {};
  fields.class_name = windowClassName;
  fields.title = appTitle;
  fields.style = kWsOverlappedWindow;
  fields.x = kCwUseDefault;
  fields.width = kCwUseDefault;
  fields.instance = instance;
  platform::Handle window = platform::CreateWindowExA(fields);
  if (!window) return 0;
  // We run elevated and Explorer does not: without this its "TaskbarCreated"
  // is filtered out and the icon would not come back after it restarts.
  platform::ChangeWindowMessageFilterEx(window, taskbarCreatedMessage, kMsgfltAllow);
  trayIcon = {};
  trayIcon.size = kNotifyIconSize;
  trayIcon.window = window;
  trayIcon.id = kTrayIconId;
  trayIcon.flags = (kNifMessage | kNifIcon | kNifTip);
  trayIcon.callback_message = kWmTrayIcon;
  trayIcon.icon = platform::LoadIconA(instance, kSmallIcon);
  trayHotkey = ClampHotkey(ReadSetting(kTrayIni, "hotkey"));
  bool held = RegisterTrayHotkey();
  SetTrayTooltip(ReadSetting(kTrayIni, "default"));
  platform::NotifyIcon(kNimAdd, trayIcon);
  platform::ShowWindow(window, kSwHide);
  if (!held) ShowHotkeyTaken();
  return 1;
}

bool StartTray(platform::Handle instance) {
  if (!RunsInItsOwnFolder()) return false;
  if (CountProcessesByName(kTrayImage, ProcessScope::Session) != 1) return false;
  for (const char* name : kRequiredFiles)
    if (platform::Access(name, 0) != 0) return false;
  RemoveLocalShortcut(kTrayAutostart);
  RemoveStaleLogonTask(kTrayTask);
  MoveLinkToTask(kTrayStart);
  platform::LoadStringA(instance, kTitleString, appTitle, sizeof appTitle);
  platform::LoadStringA(instance, kClassString, windowClassName, sizeof windowClassName);
  RegisterTrayClass(instance);
  return CreateTrayWindow(instance) != 0;
}

int TrayMain(platform::Handle instance) {
  SearchCommandsInTheSystemOnly();
  if (!StartTray(instance)) return 0;
  return RunTranslatingMessageLoop();
}

intptr_t PLATFORM_CALLBACK TrayWindowProc(platform::Handle window, uint32_t message,
                                          uintptr_t wparam, intptr_t lparam) {
  // A restarted taskbar has forgotten the icon. The message goes on to the
  // default procedure like any other.
  if (taskbarCreatedMessage != 0 && message == taskbarCreatedMessage)
    platform::NotifyIcon(kNimAdd, trayIcon);
  switch (message) {
    case kWmTrayIcon:
      OnTrayIcon(window, wparam, lparam);
      return 0;
    case kWmHotkey:
      if (wparam == kTrayHotkeyId) OnTrayHotkey();
      return 0;
    case kWmCommand:
      if (OnTrayCommand(window, static_cast<uint32_t>(wparam & 0xFFFF))) return 0;
      break;
    case kWmPaint: {
      platform::PaintRecord paint;
      platform::BeginPaint(window, &paint);
      platform::EndPaint(window, &paint);
      return 0;
    }
    case kWmDestroy:
      platform::NotifyIcon(kNimDelete, trayIcon);
      platform::PostQuitMessage(0);
      return 0;
  }
  return platform::DefWindowProcA(window, message, wparam, lparam);
}
