#include "common/admin_only.h"

#include "platform/files.h"
#include "platform/security.h"
#include "platform/win_values.h"

using platform::AccessEntry, platform::FileSecurity, platform::Trustee, platform::kAccessDeniedAceType,
    platform::kAccessDeniedObjectAceType, platform::kAccessDeniedCallbackAceType,
    platform::kAccessDeniedCallbackObjectAceType, platform::kDelete, platform::kFileAddFile,
    platform::kFileAddSubdirectory, platform::kFileAttributeReparsePoint, platform::kFileDeleteChild,
    platform::kGenericAll, platform::kGenericWrite, platform::kInheritOnlyAce, platform::kWriteDac,
    platform::kWriteOwner;

// What lets someone change the folder or a file of the suite: write, append or
// add, delete, delete what it holds, or change its rights or owner.
constexpr uint32_t kChangesIt =
    kFileAddFile | kFileAddSubdirectory | kFileDeleteChild | kDelete | kWriteDac | kWriteOwner | kGenericAll | kGenericWrite;
// What lets someone put another folder in the place of one above it.
constexpr uint32_t kReplacesIt = kFileDeleteChild | kDelete | kWriteDac | kWriteOwner | kGenericAll;
// And in the folder that holds the programs' folder, making one: deleted, the
// programs' folder could come back as anyone's, and a logon task still
// pointing there would start their program elevated.
constexpr uint32_t kMakesOneBeside = kReplacesIt | kFileAddSubdirectory | kGenericWrite;

// Every program, and what the elevated ones read.
static const char* const kSuiteFiles[] = {"nocturo.exe",   "panelblank.exe", "nocturotray.exe", "nocturodaemon.exe",
                                          "panelprobe.exe", "tpinfo.ini",     "info.ini"};

static bool Trusted(Trustee who) {
  return who == Trustee::System || who == Trustee::Administrators || who == Trustee::TrustedInstaller;
}

// CREATOR OWNER stands for whoever makes a file or folder in it, OWNER RIGHTS
// for the owner: where only the trusted may own or make anything, both are.
static bool NamesSomeoneElse(const AccessEntry& entry) {
  return !Trusted(entry.who) && entry.who != Trustee::CreatorOwner && entry.who != Trustee::OwnerRights;
}

static bool Denies(uint8_t type) {
  return type == kAccessDeniedAceType || type == kAccessDeniedObjectAceType ||
         type == kAccessDeniedCallbackAceType || type == kAccessDeniedCallbackObjectAceType;
}

// Whether the object is itself and trusted alone with `rights`: in entries
// that apply to it, and, with `inherited_too`, in those that only what is made
// in it later inherits (a settings file the programs write anew, say). One
// that is not there passes where `may_be_absent`.
static bool OnlyTheTrusted(const FolderFacts& facts, const char16_t* path, uint32_t rights, bool inherited_too,
                           bool may_be_absent = false) {
  uint32_t attributes = 0;
  platform::FileIdentity identity;
  FileSecurity security;
  int found = facts.describe(path, &attributes, &identity, &security);
  if (found == 0 && may_be_absent) return true;
  if (found != 1) return false;
  bool has_id = false;
  for (uint8_t byte : identity.id) has_id = has_id || byte != 0;
  if (!has_id || (attributes & kFileAttributeReparsePoint) || security.null_dacl || !Trusted(security.owner))
    return false;
  for (uint32_t i = 0; i < security.count; ++i) {
    const AccessEntry& entry = security.entries[i];
    if (Denies(entry.type) || !NamesSomeoneElse(entry)) continue;
    if (!inherited_too && (entry.flags & kInheritOnlyAce)) continue;
    if (entry.mask & rights) return false;
  }
  return true;
}

// `path` without its last name: "C:\a\b" gives "C:\a", "C:\a" gives "C:\".
static void CutToParent(PathBuffer* path) {
  size_t cut = path->length;
  while (cut > 3 && path->text[cut - 1] != u'\\') cut--;
  if (cut > 3) cut--;  // the backslash goes, but for the root's
  path->text[cut] = 0;
  path->length = cut;
}

// The folder as Windows resolves it: "C:\..." on a drive letter (anything
// else is a network share or a volume without a letter), no trailing
// backslash but the root's.
static bool Resolved(const char16_t* path, PathBuffer* folder) {
  PathBuffer resolved;
  ClearText(&resolved);
  return TakeWritten(&resolved, platform::FinalPathName(path, resolved.text, kMaxPath)) &&
         PlainPathFromFinal(resolved.text, folder) && folder->text[1] == u':';
}

bool OnlyAdministratorsCanChange(PathBuffer* folder) {
  PathBuffer program;
  ClearText(&program);
  if (!TakeWritten(&program, platform::ProgramPath(program.text, kMaxPath))) return false;
  CutToParent(&program);
  return FolderOnlyAdministratorsCanChange(program.text, folder);
}

// The system's own answers: a file that is not there counts apart from one
// that cannot be read.
static int DescribeOnDisk(const char16_t* path, uint32_t* attributes, platform::FileIdentity* identity,
                          FileSecurity* security) {
  if (platform::DescribeFile(path, attributes, identity, security)) return 1;
  return platform::Access(path, 0) != 0 ? 0 : -1;
}

bool FolderOnlyAdministratorsCanChange(const char16_t* path, PathBuffer* folder) {
  return Resolved(path, folder) && ResolvedFolderOnlyAdministratorsCanChange(folder->text, {DescribeOnDisk});
}

bool ResolvedFolderOnlyAdministratorsCanChange(const char16_t* folder, const FolderFacts& facts) {
  PathBuffer path;
  ClearText(&path);
  if (!AppendText(&path, folder) || !OnlyTheTrusted(facts, path.text, kChangesIt, true)) return false;
  for (const char* name : kSuiteFiles) {
    PathBuffer file = path;
    if (file.length > 3) AppendText(&file, u"\\");
    if (!AppendAscii(&file, name)) return false;
    // A file that is not there can only be made by whoever may add one: checked above.
    if (!OnlyTheTrusted(facts, file.text, kChangesIt, false, true)) return false;
  }
  for (uint32_t rights = kMakesOneBeside; path.length > 3; rights = kReplacesIt) {
    CutToParent(&path);
    if (!OnlyTheTrusted(facts, path.text, rights, false)) return false;
  }
  return true;
}
