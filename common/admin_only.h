// Whether the programs' folder is one that no unelevated program of any user
// can change. Only there may something run elevated without asking anyone (a
// logon task): anywhere else, whatever the user runs could put its own program
// in place of ours and have it started as administrator.
#pragma once
#include "common/text_buffer.h"
#include "platform/security.h"

// Judged from the security descriptors themselves, for every account but
// SYSTEM, Administrators and TrustedInstaller, so that it holds for every
// user, not only for this one, and needs no unelevated token to ask:
// - the folder and each file of the suite in it: owned by one of those, and no
//   entry lets anyone else write, add, delete, or change rights or owner;
// - each folder above it: no one else may delete or rename it, or change its
//   rights or owner; and in the one that holds it, no one else may make a
//   folder (every user may in C:\: a copy there, once deleted, leaves a name
//   anyone can take);
// - none of them a junction or link, each with a file id, on a drive letter
//   of this PC (not a network share).
// On "yes", `folder` holds the folder as Windows resolves it ("C:\...").
// Anything that cannot be read is a "no".
bool OnlyAdministratorsCanChange(PathBuffer* folder);
// The same for any folder, `path` as a task or link names it.
bool FolderOnlyAdministratorsCanChange(const char16_t* path, PathBuffer* folder);

// Where the judgement reads each object: 1 described, 0 not there, -1 there
// but unreadable (a "no").
struct FolderFacts {
  int (*describe)(const char16_t* path, uint32_t* attributes, platform::FileIdentity* identity,
                  platform::FileSecurity* security);
};
// The judgement itself, on a folder already resolved ("C:\...").
bool ResolvedFolderOnlyAdministratorsCanChange(const char16_t* folder, const FolderFacts& facts);
