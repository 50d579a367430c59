// What Windows says a file or folder is: where it really lies, which object
// it is, and who may change it. Read from the object itself, never from what
// a junction or link in its place names.
#pragma once
#include "platform/types.h"

namespace platform {

// The accounts an access entry or an owner can name, as far as the programs
// tell them apart; every other account is Other.
enum class Trustee : uint8_t { Other, System, Administrators, TrustedInstaller, CreatorOwner, OwnerRights };

// One entry of a DACL: its type and flags (ACE_HEADER), its rights, and whom it names.
struct AccessEntry {
  uint8_t type;
  uint8_t flags;
  uint32_t mask;
  Trustee who;
};

constexpr uint32_t kMaxAccessEntries = 48;

struct FileSecurity {
  Trustee owner;
  bool null_dacl;  // no DACL at all: everyone may do everything (FAT, for one)
  uint32_t count;
  AccessEntry entries[kMaxAccessEntries];
};

// Volume serial number and file id: the same pair is the same file, whatever
// the path's spelling. An id of all zeros is no id (some network servers).
struct FileIdentity {
  uint64_t volume;
  uint8_t id[16];
};

// Opens `path` for reading its attributes (a junction or symbolic link there
// is opened itself) and fills what is asked for; `security` may be null.
// False when it cannot be opened or read, or its DACL holds more than
// kMaxAccessEntries entries.
bool DescribeFile(const char16_t* path, uint32_t* attributes, FileIdentity* identity, FileSecurity* security);

// The identity of what `path` opens, a junction or link in it followed to
// where it leads: opened with backup semantics, to read attributes only. With
// `final_path`, also the path of that very object, as FinalPathName gives it
// (at most `size` characters); false when it does not fit.
bool OpenedIdentity(const char16_t* path, FileIdentity* identity, char16_t* final_path = nullptr, uint32_t size = 0);

// The path Windows opens for `path`, with every junction, link and substituted
// drive resolved, as "\\?\C:\..." or "\\?\UNC\server\...". The length written,
// the size needed when `size` is too small, or 0 on failure.
uint32_t FinalPathName(const char16_t* path, char16_t* buffer, uint32_t size);

// Deletes the file `name` (no folder in it) in `folder` through one handle:
// only when neither is a junction or link, and the file's final path lies
// directly in the folder's, while the folder is held so that it cannot be
// renamed or replaced. False, with nothing deleted, when any of it fails.
bool DeleteInFolder(const char16_t* folder, const char16_t* name);

}  // namespace platform
