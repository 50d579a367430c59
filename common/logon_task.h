// Start at logon as a task of the Task Scheduler, in its folder \Nocturo: at
// the user's logon, with that user's token at the highest run level, so an
// elevated program starts without a consent prompt and without a script. Made
// only for a folder only administrators can change (common/admin_only.h).
#pragma once
#include <cstddef>

#include "common/text_buffer.h"

struct LogonTaskBase {
  const char16_t* program;  // the task's name begins with it
  const char16_t* image;    // started from the installation folder
};

extern const LogonTaskBase kTrayTask;
extern const LogonTaskBase kDaemonTask;
constexpr char16_t kTaskFolder[] = u"\\Nocturo";
// The folder's and each task's rights: SYSTEM and Administrators may do
// anything, everyone else only read. A task at the highest run level runs
// elevated without a prompt: the user's unelevated code must neither start it
// at will (to retry a race in the program's start as often as it likes), nor
// change it, nor plant a task of its own in the folder.
constexpr char16_t kTaskSecurity[] = u"D:P(A;;FA;;;SY)(A;;FA;;;BA)(A;;FR;;;AU)";

// Enough for the XML with two SIDs and the folder twice, every character of
// the folder escaped.
constexpr size_t kTaskXmlSize = 4096;

// The task's definition: `user`'s logon, a short delay, `user`'s interactive
// token at the highest run level, `folder`\<image> started in `folder`,
// never on demand, normal priority, on battery too, for as long as it runs,
// one at a time.
// False when it does not fit `size` characters.
bool BuildLogonTaskXml(const LogonTaskBase& base, const char16_t* user, const char16_t* folder, char16_t* xml,
                       size_t size);

// One task per program and user: "<program> <SID>". A "DOMAIN\user" name
// would hold the folder separator.
bool RegisterLogonTask(const LogonTaskBase& base, const char16_t* folder);
void RemoveLogonTask(const LogonTaskBase& base);
// This user's task is the one RegisterLogonTask makes for `folder`: this
// user's SID at the highest run level, <folder>\<image> its program, never
// started on demand.
bool LogonTaskStartsFrom(const LogonTaskBase& base, const char16_t* folder);
// \Nocturo\<program>, which an administrator registers for every user: it
// counts only with a group as its principal, which only an administrator can
// register.
bool LogonTaskForEveryone(const LogonTaskBase& base);
// This user's task goes when its program is not there, or lies in a folder
// that someone other than the administrators can change: a copy deleted, and
// its folder's name taken by anyone, must not start their program elevated.
void RemoveStaleLogonTask(const LogonTaskBase& base);
