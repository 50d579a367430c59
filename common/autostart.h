// Start at logon: a shell link to the launcher script beside the program,
// built in the working directory and copied into the user's Startup folder.
// Every path here is UTF-16: a folder named in any language is the folder.
#pragma once
#include <cstdint>

#include "common/text_buffer.h"

struct AutostartBase {
  const char16_t* script;          // the launcher script, in the working directory
  const char16_t* shortcut;        // the link's file name, here and in the Startup folder
  const char16_t* local_shortcut;  // the link in the working directory
  uint32_t copy_wait_ms;           // the time the hidden copy gets before the local link goes
};

extern const AutostartBase kTrayAutostart;
extern const AutostartBase kDaemonAutostart;

// What an install or removal works with. A text that did not fit, or that
// has no Startup folder to name, is marked as overflowed and never used:
// whatever needs it is skipped.
struct AutostartTexts {
  PathBuffer startup;       // the Startup folder
  PathBuffer copy_command;  // "/c copy .\<shortcut> "<startup>" /y"
  PathBuffer installed;     // <startup>\<shortcut>
};

void PrepareAutostart(const AutostartBase& base, AutostartTexts* texts);
bool AutostartInstalled(const AutostartTexts& texts);
// The link in the all-users Startup folder, where an administrator puts it.
bool InstalledForEveryone(const AutostartBase& base);
// The local link, 300 ms, the hidden copy, the wait; the local link stays.
// False, with nothing done, when a path or the command does not fit.
bool CopyShortcutToStartup(const AutostartBase& base, const AutostartTexts& texts);

// The installed link goes, through a handle that proves it lies in the
// Startup folder and is no junction or link: we run elevated, and the folder
// is the user's to swap. One that fails a check stays.
void RemoveInstalledLink(const AutostartBase& base, const AutostartTexts& texts);

// Builds and copies the link over any installed one, then deletes the local one.
void InstallAutostart(const AutostartBase& base, const AutostartTexts& texts);
void RemoveAutostart(const AutostartBase& base);
void RemoveLocalShortcut(const AutostartBase& base);
