#include "common/autostart.h"

#include "common/command_lines.h"
#include "common/shell_command.h"
#include "platform/files.h"
#include "platform/security.h"
#include "platform/shell.h"
#include "platform/shell_links.h"
#include "platform/threads.h"
#include "platform/win_values.h"

const AutostartBase kTrayAutostart = {u"startnocturotray.vbs", kTrayShortcut,
                                      u".\\startnocturotray.vbs.lnk", 2000};
const AutostartBase kDaemonAutostart = {u"startnocturodaemon.vbs", kDaemonShortcut,
                                        u".\\startnocturodaemon.vbs.lnk", 1200};

constexpr uint32_t kBeforeCopyMs = 300;
using platform::kCsidlStartup, platform::kCsidlCommonStartup, platform::kClsctxInprocServer;
using platform::kClsidShellLink, platform::kIidShellLinkW, platform::kIidPersistFile;

static bool PlainFolderOrAbsent(const char16_t* path) {
  uint32_t attributes = platform::PathAttributes(path);
  return attributes == platform::kInvalidFileAttributes ||
         (attributes & platform::kFileAttributeReparsePoint) == 0;
}

static bool PlainFileOrAbsent(const char16_t* path) {
  uint32_t attributes = platform::PathAttributes(path);
  return attributes == platform::kInvalidFileAttributes ||
         (attributes & (platform::kFileAttributeReparsePoint | platform::kFileAttributeDirectory)) == 0;
}

// Between the copy command's quotes cmd.exe reads a '"' as their end and
// expands %NAME%; no folder's name holds either, nor a control character.
static bool QuotesAsAFolderName(const char16_t* path) {
  for (const char16_t* c = path; *c; ++c)
    if (*c < u' ' || *c == u'"' || *c == u'%') return false;
  return true;
}

static bool StartupFolder(int32_t folder, PathBuffer* path) {
  ClearText(path);
  bool found = platform::SpecialFolderPath(nullptr, path->text, folder, 0) != 0;
  path->text[kMaxPath - 1] = 0;
  while (path->text[path->length]) path->length++;
  return found && path->length != 0;
}

void PrepareAutostart(const AutostartBase& base, AutostartTexts* texts) {
  bool found = StartupFolder(kCsidlStartup, &texts->startup);
  BuildCopyToStartup(&texts->copy_command, base.shortcut, texts->startup.text);
  texts->installed = texts->startup;
  AppendText(&texts->installed, u"\\");
  AppendText(&texts->installed, base.shortcut);
  // Without a usable Startup folder both would name something else: the
  // current folder, the root of the drive, or a folder that is not there.
  // The path is the user's own setting, and we run elevated: a junction or
  // symbolic link in place of the folder or the link would carry the copy or
  // the delete wherever the user points it.
  if (!found || !QuotesAsAFolderName(texts->startup.text) || !PlainFolderOrAbsent(texts->startup.text) ||
      (!texts->installed.overflow && !PlainFileOrAbsent(texts->installed.text)))
    texts->copy_command.overflow = texts->installed.overflow = true;
}

bool AutostartInstalled(const AutostartTexts& texts) {
  return !texts.installed.overflow && platform::Access(texts.installed.text, 0) == 0;
}

bool InstalledForEveryone(const AutostartBase& base) {
  PathBuffer path;
  return StartupFolder(kCsidlCommonStartup, &path) && AppendText(&path, u"\\") &&
         AppendText(&path, base.shortcut) && platform::Access(path.text, 0) == 0;
}

// No result is looked at beyond what decides the next step: a failure leaves
// no local link, and the copy then finds nothing to copy.
static void SaveLocalShortcut(const AutostartBase& base, const char16_t* target, const char16_t* directory) {
  if (platform::CoInitialize() < 0) return;
  platform::Handle link = nullptr;
  if (platform::CoCreateInstance(kClsidShellLink, kClsctxInprocServer, kIidShellLinkW, &link) >= 0) {
    platform::ShellLinkSetPath(link, target);
    platform::ShellLinkSetWorkingDirectory(link, directory);
    platform::Handle file = nullptr;
    if (platform::QueryInterface(link, kIidPersistFile, &file) >= 0) {
      platform::PersistFileSave(file, base.local_shortcut, 0);
      platform::Release(file);
    }
    platform::Release(link);
  }
  platform::CoUninitialize();
}

bool CopyShortcutToStartup(const AutostartBase& base, const AutostartTexts& texts) {
  if (texts.copy_command.overflow) return false;
  PathBuffer directory;
  ClearText(&directory);
  if (!TakeWritten(&directory, platform::WorkingFolder(kMaxPath, directory.text))) return false;
  PathBuffer target = directory;
  AppendText(&target, u"\\");
  if (!AppendText(&target, base.script)) return false;
  SaveLocalShortcut(base, target.text, directory.text);
  platform::Sleep(kBeforeCopyMs);
  ShellCommand(texts.copy_command.text, false);
  // The copy runs in its own cmd.exe; this wait is all the coordination there is.
  platform::Sleep(base.copy_wait_ms);
  return true;
}

void InstallAutostart(const AutostartBase& base, const AutostartTexts& texts) {
  if (CopyShortcutToStartup(base, texts)) RemoveLocalShortcut(base);
}

void RemoveInstalledLink(const AutostartBase& base, const AutostartTexts& texts) {
  if (AutostartInstalled(texts)) platform::DeleteInFolder(texts.startup.text, base.shortcut);
}

void RemoveAutostart(const AutostartBase& base) {
  AutostartTexts texts;
  PrepareAutostart(base, &texts);
  RemoveInstalledLink(base, texts);
}

void RemoveLocalShortcut(const AutostartBase& base) { platform::RemoveFile(base.local_shortcut); }
