#include "platform/security.h"

#include <cstring>

#include "platform/win32/descriptor.h"
#include "platform/win32/scoped.h"

#include <aclapi.h>

namespace platform {

// The accounts the programs tell apart: identifier authority and sub-authorities.
struct KnownSid {
  Trustee who;
  BYTE authority;
  BYTE count;
  const DWORD* subs;
};
static const DWORD kSystem[] = {18}, kAdministrators[] = {32, 544}, kCreatorOwner[] = {0}, kOwnerRights[] = {4};
static const DWORD kTrustedInstaller[] = {80, 956008885, 3418522649, 1831038044, 1853292631, 2271478464};
static const KnownSid kKnownSids[] = {
    {Trustee::System, 5, 1, kSystem},                  // S-1-5-18
    {Trustee::Administrators, 5, 2, kAdministrators},  // S-1-5-32-544
    {Trustee::TrustedInstaller, 5, 6, kTrustedInstaller},
    {Trustee::CreatorOwner, 3, 1, kCreatorOwner},      // S-1-3-0
    {Trustee::OwnerRights, 3, 1, kOwnerRights},        // S-1-3-4
};

// Read from the SID's own layout (revision, count, authority, sub-authorities).
static Trustee Classify(PSID sid) {
  const SID* id = static_cast<const SID*>(sid);
  if (!id || id->Revision != SID_REVISION) return Trustee::Other;
  static const BYTE kZeros[5] = {};
  for (const KnownSid& known : kKnownSids) {
    if (id->SubAuthorityCount != known.count || id->IdentifierAuthority.Value[5] != known.authority ||
        std::memcmp(id->IdentifierAuthority.Value, kZeros, 5) != 0 ||
        std::memcmp(id->SubAuthority, known.subs, known.count * sizeof(DWORD)) != 0)
      continue;
    return known.who;
  }
  return Trustee::Other;
}

bool DescribeDescriptor(PSECURITY_DESCRIPTOR descriptor, FileSecurity* security) {
  PSID owner = nullptr;
  PACL dacl = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  if (!::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) ||
      !::GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted))
    return false;
  *security = {};
  security->owner = Classify(owner);
  security->null_dacl = !present || dacl == nullptr;
  if (!present) dacl = nullptr;
  if (dacl && dacl->AceCount > kMaxAccessEntries) return false;
  for (WORD i = 0; dacl && i < dacl->AceCount; ++i) {
    ACE_HEADER* header = nullptr;
    if (!::GetAce(dacl, i, reinterpret_cast<void**>(&header))) return false;
    AccessEntry& entry = security->entries[security->count++];
    entry.type = header->AceType;
    entry.flags = header->AceFlags;
    // Every type this reads (allowed and denied, plain, callback or object)
    // holds its mask right after the header; an object entry's SID follows
    // its GUIDs, when present.
    const BYTE* body = reinterpret_cast<const BYTE*>(header) + sizeof(ACE_HEADER);
    std::memcpy(&entry.mask, body, sizeof entry.mask);
    const BYTE* sid = body + sizeof(ACCESS_MASK);
    bool object = header->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE || header->AceType == ACCESS_DENIED_OBJECT_ACE_TYPE ||
                  header->AceType == ACCESS_ALLOWED_CALLBACK_OBJECT_ACE_TYPE ||
                  header->AceType == ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE;
    if (object) {
      DWORD present_types = 0;
      std::memcpy(&present_types, sid, sizeof present_types);
      sid += sizeof present_types + ((present_types & ACE_OBJECT_TYPE_PRESENT) ? sizeof(GUID) : 0) +
             ((present_types & ACE_INHERITED_OBJECT_TYPE_PRESENT) ? sizeof(GUID) : 0);
    }
    entry.who = Classify(const_cast<BYTE*>(sid));
  }
  return true;
}

static bool ReadSecurity(HANDLE file, FileSecurity* security) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS)
    return false;
  ScopedLocal held(descriptor);
  return DescribeDescriptor(descriptor, security);
}

// The volume's serial number and the file's 128-bit id (ReFS, a Dev Drive
// among them, has no unique 64-bit index); the 64-bit index only where the
// volume has no such id (FAT).
static void ReadIdentity(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info, FileIdentity* identity) {
  *identity = {};
  FILE_ID_INFO id;
  if (::GetFileInformationByHandleEx(file, FileIdInfo, &id, sizeof id)) {
    identity->volume = id.VolumeSerialNumber;
    static_assert(sizeof id.FileId == sizeof identity->id, "");
    std::memcpy(identity->id, &id.FileId, sizeof identity->id);
    return;
  }
  identity->volume = info.dwVolumeSerialNumber;
  std::memcpy(identity->id, &info.nFileIndexLow, sizeof info.nFileIndexLow);
  std::memcpy(identity->id + 4, &info.nFileIndexHigh, sizeof info.nFileIndexHigh);
}

static HANDLE OpenItself(const char16_t* path, DWORD access) {
  return ::CreateFileW(reinterpret_cast<LPCWSTR>(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool DescribeFile(const char16_t* path, uint32_t* attributes, FileIdentity* identity, FileSecurity* security) {
  ScopedHandle file(OpenItself(path, FILE_READ_ATTRIBUTES | (security ? READ_CONTROL : 0)));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return false;
  *attributes = info.dwFileAttributes;
  ReadIdentity(file.get(), info, identity);
  return !security || ReadSecurity(file.get(), security);
}

// Followed, this time: where the path really leads.
static HANDLE OpenFollowed(const char16_t* path) {
  return ::CreateFileW(reinterpret_cast<LPCWSTR>(path), FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

static uint32_t FinalPathOf(HANDLE file, char16_t* buffer, uint32_t size) {
  return ::GetFinalPathNameByHandleW(file, reinterpret_cast<LPWSTR>(buffer), size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
}

bool OpenedIdentity(const char16_t* path, FileIdentity* identity, char16_t* final_path, uint32_t size) {
  ScopedHandle file(OpenFollowed(path));
  BY_HANDLE_FILE_INFORMATION info;
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &info)) return false;
  ReadIdentity(file.get(), info, identity);
  if (!final_path) return true;
  uint32_t length = FinalPathOf(file.get(), final_path, size);
  return length != 0 && length < size;
}

uint32_t FinalPathName(const char16_t* path, char16_t* buffer, uint32_t size) {
  ScopedHandle file(OpenFollowed(path));
  return file.valid() ? FinalPathOf(file.get(), buffer, size) : 0;
}

static bool PlainObject(HANDLE handle, DWORD kind) {
  BY_HANDLE_FILE_INFORMATION info;
  return ::GetFileInformationByHandle(handle, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == kind;
}

bool DeleteInFolder(const char16_t* folder, const char16_t* name) {
  // Shared with no one who would delete or rename it, while the file goes.
  ScopedHandle held(::CreateFileW(reinterpret_cast<LPCWSTR>(folder), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  constexpr uint32_t kRoom = 2 * MAX_PATH;
  char16_t folder_path[kRoom], file_path[kRoom + MAX_PATH], path[kRoom + MAX_PATH];
  uint32_t folder_length = held.valid() && PlainObject(held.get(), FILE_ATTRIBUTE_DIRECTORY)
                               ? FinalPathOf(held.get(), folder_path, kRoom) : 0;
  if (folder_length == 0 || folder_length >= kRoom || !CopyWide(reinterpret_cast<const wchar_t*>(folder), path, kRoom))
    return false;
  uint32_t length = 0;
  while (path[length]) length++;
  path[length++] = u'\\';
  if (!CopyWide(reinterpret_cast<const wchar_t*>(name), path + length, MAX_PATH)) return false;
  ScopedHandle file(::CreateFileW(reinterpret_cast<LPCWSTR>(path), DELETE | FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid() || !PlainObject(file.get(), 0)) return false;
  uint32_t file_length = FinalPathOf(file.get(), file_path, kRoom + MAX_PATH);
  // "<the folder's final path>\<a name without a backslash>"
  const wchar_t* w_file = reinterpret_cast<const wchar_t*>(file_path);
  const wchar_t* w_folder = reinterpret_cast<const wchar_t*>(folder_path);
  bool inside = file_length > folder_length + 1 && file_length < kRoom + MAX_PATH &&
                ::CompareStringOrdinal(w_file, folder_length, w_folder, folder_length, TRUE) == CSTR_EQUAL &&
                w_file[folder_length] == L'\\';
  for (uint32_t i = folder_length + 1; inside && i < file_length; ++i) inside = w_file[i] != L'\\';
  FILE_DISPOSITION_INFO disposition = {TRUE};
  return inside && ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace platform
