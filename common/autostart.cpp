#include "common/autostart.h"

#include <cstring>

#include "common/command_lines.h"
#include "common/shell_command.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/shell_links.h"
#include "platform/threads.h"
#include "platform/win_values.h"

const AutostartBase kTrayAutostart = {"startnocturotray.vbs", kTrayShortcut,
                                      ".\\startnocturotray.vbs.lnk", u".\\startnocturotray.vbs.lnk",
                                      2000};
const AutostartBase kDaemonAutostart = {"startnocturodaemon.vbs", kDaemonShortcut,
                                        ".\\startnocturodaemon.vbs.lnk",
                                        u".\\startnocturodaemon.vbs.lnk", 1200};

constexpr uint32_t kBeforeCopyMs = 300;
using platform::kCsidlStartup, platform::kCsidlCommonStartup, platform::kClsctxInprocServer;
using platform::kClsidShellLink, platform::kIidShellLinkA, platform::kIidPersistFile;

static bool PlainFolderOrAbsent(const char* path) {
  uint32_t attributes = platform::GetFileAttributesA(path);
  return attributes == platform::kInvalidFileAttributes ||
         (attributes & platform::kFileAttributeReparsePoint) == 0;
}

static bool PlainFileOrAbsent(const char* path) {
  uint32_t attributes = platform::GetFileAttributesA(path);
  return attributes == platform::kInvalidFileAttributes ||
         (attributes & (platform::kFileAttributeReparsePoint | platform::kFileAttributeDirectory)) == 0;
}

void PrepareAutostart(const AutostartBase& base, AutostartTexts* texts) {
  ClearText(&texts->startup);
  platform::SHGetSpecialFolderPathA(nullptr, texts->startup.text, kCsidlStartup, 0);
  texts->startup.text[sizeof texts->startup.text - 1] = '\0';
  texts->startup.length = std::strlen(texts->startup.text);
  BuildCopyToStartup(&texts->copy_command, base.shortcut, texts->startup.text);
  texts->installed = texts->startup;
  AppendText(&texts->installed, "\\");
  AppendText(&texts->installed, base.shortcut);
  // Without a usable Startup folder both would name something else: the
  // current folder, the root of the drive, or a folder that is not there.
  // The path is the user's own setting, and we run elevated: cmd.exe would
  // expand a %NAME% in it even between quotes, and a junction or symbolic
  // link in place of the folder or the link would carry the copy or the
  // delete wherever the user points it.
  if (texts->startup.length == 0 || LostCharacters(texts->startup.text) ||
      std::strchr(texts->startup.text, '%') || !PlainFolderOrAbsent(texts->startup.text) ||
      (!texts->installed.overflow && !PlainFileOrAbsent(texts->installed.text)))
    texts->copy_command.overflow = texts->installed.overflow = true;
}

bool AutostartInstalled(const AutostartTexts& texts) {
  return !texts.installed.overflow && platform::Access(texts.installed.text, 0) == 0;
}

bool InstalledForEveryone(const AutostartBase& base) {
  TextBuffer path;
  ClearText(&path);
  if (!platform::SHGetSpecialFolderPathA(nullptr, path.text, kCsidlCommonStartup, 0)) return false;
  path.text[sizeof path.text - 1] = '\0';
  path.length = std::strlen(path.text);
  return path.length != 0 && AppendText(&path, "\\") && AppendText(&path, base.shortcut) &&
         platform::Access(path.text, 0) == 0;
}

// No result is looked at beyond what decides the next step: a failure leaves
// no local link, and the copy then finds nothing to copy.
static void SaveLocalShortcut(const AutostartBase& base, const char* target, const char* directory) {
  if (platform::CoInitialize() < 0) return;
  platform::Handle link = nullptr;
  if (platform::CoCreateInstance(kClsidShellLink, kClsctxInprocServer, kIidShellLinkA, &link) >= 0) {
    platform::ShellLinkSetPath(link, target);
    platform::ShellLinkSetWorkingDirectory(link, directory);
    platform::Handle file = nullptr;
    if (platform::QueryInterface(link, kIidPersistFile, &file) >= 0) {
      platform::PersistFileSave(file, base.local_shortcut_wide, 0);
      platform::Release(file);
    }
    platform::Release(link);
  }
  platform::CoUninitialize();
}

bool CopyShortcutToStartup(const AutostartBase& base, const AutostartTexts& texts) {
  if (texts.copy_command.overflow) return false;
  TextBuffer directory;
  ClearText(&directory);
  uint32_t length = platform::GetCurrentDirectoryA(sizeof directory.text, directory.text);
  // A link into a folder whose name lost characters would point nowhere, and
  // the daemon keeps an installed link for ever.
  if (length == 0 || length >= sizeof directory.text || LostCharacters(directory.text)) return false;
  directory.length = length;
  TextBuffer target = directory;
  AppendText(&target, "\\");
  if (!AppendText(&target, base.script)) return false;
  SaveLocalShortcut(base, target.text, directory.text);
  platform::Sleep(kBeforeCopyMs);
  ShellCommand(texts.copy_command.text, false);
  // The copy runs in its own cmd.exe; this wait is all the coordination there is.
  platform::Sleep(base.copy_wait_ms);
  return true;
}

void InstallAutostart(const AutostartBase& base) {
  AutostartTexts texts;
  PrepareAutostart(base, &texts);
  if (CopyShortcutToStartup(base, texts)) RemoveLocalShortcut(base);
}

void RemoveAutostart(const AutostartBase& base) {
  AutostartTexts texts;
  PrepareAutostart(base, &texts);
  if (AutostartInstalled(texts)) platform::RemoveFile(texts.installed.text);
}

void RemoveLocalShortcut(const AutostartBase& base) { platform::RemoveFile(base.local_shortcut); }
