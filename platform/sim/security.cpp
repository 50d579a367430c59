// Files and folders as Windows describes them: security descriptors read
// from the world's SDDL, identities and real paths from its junctions and
// short names.
#include "platform/security.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/sim/state.h"
#include "platform/win_values.h"

namespace sim {

constexpr char kTrustedInstaller[] = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

static platform::Trustee TrusteeOf(const std::string& sid) {
  using platform::Trustee;
  if (sid == "SY" || sid == "S-1-5-18") return Trustee::System;
  if (sid == "BA" || sid == "S-1-5-32-544") return Trustee::Administrators;
  if (sid == kTrustedInstaller) return Trustee::TrustedInstaller;
  if (sid == "CO" || sid == "S-1-3-0") return Trustee::CreatorOwner;
  if (sid == "OW" || sid == "S-1-3-4") return Trustee::OwnerRights;
  return Trustee::Other;
}

// SDDL's two-letter rights, and the entries' flags and types.
static const std::pair<const char*, uint32_t> kRights[] = {
    {"GA", 0x10000000}, {"GR", 0x80000000}, {"GW", 0x40000000}, {"GX", 0x20000000}, {"RC", 0x20000},
    {"SD", 0x10000},    {"WD", 0x40000},    {"WO", 0x80000},    {"FA", 0x1F01FF},   {"FR", 0x120089},
    {"FW", 0x120116},   {"FX", 0x1200A0},   {"CC", 0x1},        {"DC", 0x2},        {"LC", 0x4},
    {"SW", 0x8},        {"RP", 0x10},       {"WP", 0x20},       {"DT", 0x40},       {"LO", 0x80},
    {"CR", 0x100}};
static const std::pair<const char*, uint8_t> kFlags[] = {{"OI", 0x1}, {"CI", 0x2}, {"NP", 0x4},
                                                         {"IO", 0x8}, {"ID", 0x10}};
static const std::pair<const char*, uint8_t> kTypes[] = {{"A", 0}, {"D", 1}, {"OA", 5}, {"OD", 6}, {"XA", 9},
                                                         {"XD", 10}, {"ZA", 11}};

template <typename T, size_t N>
static bool Letters(const std::string& text, const std::pair<const char*, T> (&table)[N], T* out) {
  *out = 0;
  for (size_t i = 0; i < text.size(); i += 2) {
    bool known = false;
    for (const auto& row : table)
      if (text.compare(i, 2, row.first) == 0) *out |= row.second, known = true;
    if (!known) return false;
  }
  return true;
}

static std::vector<std::string> Split(const std::string& text, char at) {
  std::vector<std::string> parts(1);
  for (char c : text)
    if (c == at) parts.emplace_back();
    else parts.back().push_back(c);
  return parts;
}

// "O:owner G:group D:flags(ace)(ace)... S:..." into the seam's record; false
// for anything it cannot read.
static bool ParseSddl(const std::string& sddl, platform::FileSecurity* out) {
  *out = {};
  size_t owner = sddl.find("O:"), dacl = sddl.find("D:"), sacl = sddl.find("S:", dacl);
  if (owner == std::string::npos || dacl == std::string::npos) return false;
  size_t owner_end = sddl.size();
  for (const char* next : {"G:", "D:", "S:"}) owner_end = std::min(owner_end, sddl.find(next, owner + 2));
  out->owner = TrusteeOf(sddl.substr(owner + 2, owner_end - owner - 2));
  if (sddl.compare(dacl + 2, 17, "NO_ACCESS_CONTROL") == 0) {
    out->null_dacl = true;
    return true;
  }
  for (size_t open = sddl.find('(', dacl); open < sacl; open = sddl.find('(', open + 1)) {
    std::vector<std::string> field = Split(sddl.substr(open + 1, sddl.find(')', open) - open - 1), ';');
    if (field.size() != 6 || out->count == platform::kMaxAccessEntries) return false;
    platform::AccessEntry& entry = out->entries[out->count++];
    bool known = false;
    for (const auto& row : kTypes)
      if (field[0] == row.first) entry.type = row.second, known = true;
    if (!known || !Letters(field[1], kFlags, &entry.flags)) return false;
    if (field[2].rfind("0x", 0) == 0) entry.mask = static_cast<uint32_t>(std::strtoul(field[2].c_str(), nullptr, 16));
    else if (!Letters(field[2], kRights, &entry.mask)) return false;
    entry.who = TrusteeOf(field[5]);
  }
  return true;
}

// The path with its short names spelt long and its junctions followed.
static std::string Resolved(std::string path) {
  for (const auto* table : {&S().world.long_names, &S().world.junctions})
    for (const auto& name : *table)
      if (StartsWith(path, name.first) && (path.size() == name.first.size() || path[name.first.size()] == '\\'))
        path = name.second + path.substr(name.first.size());
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

static const std::string* SddlOf(const std::string& path) {
  for (const auto& entry : S().world.security)
    if (strcasecmp(entry.first.c_str(), path.c_str()) == 0) return &entry.second;
  return nullptr;
}

}  // namespace sim

namespace platform {

// The identity is the resolved path, letter case ignored, on its drive letter's volume.
// The id leaves the drive out, as two volumes may well give one file id: only
// the volume tells their folders apart.
static void IdentityOf(const std::string& windows, FileIdentity* identity) {
  std::string resolved = sim::Resolved(windows);
  *identity = {};
  identity->volume = static_cast<uint64_t>(std::toupper(static_cast<unsigned char>(resolved[0])));
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (char c : resolved.substr(resolved.size() > 2 && resolved[1] == ':' ? 2 : 0))
    hash = (hash ^ static_cast<uint8_t>(std::toupper(static_cast<unsigned char>(c)))) * 1099511628211ull;
  std::memcpy(identity->id, &hash, sizeof hash);
}

static std::string FinalOf(const std::string& windows) {
  std::string resolved = sim::Resolved(windows);
  return resolved.rfind("\\\\", 0) == 0 ? "\\\\?\\UNC\\" + resolved.substr(2) : "\\\\?\\" + resolved;
}

bool OpenedIdentity(const char16_t* path, FileIdentity* identity, char16_t* final_path, uint32_t size) {
  sim::Lock lock = sim::Enter();
  std::string windows = sim::Utf8(path);
  bool fails = sim::Failing("CreateFileW");
  sim::Trace("CreateFileW %s, followed%s", windows.c_str(), fails ? " fails" : "");
  if (fails) return false;
  IdentityOf(windows, identity);
  return !final_path || sim::GiveText(sim::Utf16(FinalOf(windows)), final_path, size) < size;
}

bool DescribeFile(const char16_t* path, uint32_t* attributes, FileIdentity* identity, FileSecurity* security) {
  sim::Lock lock = sim::Enter();
  std::string windows = sim::Utf8(path), host = sim::HostPath(path);
  const std::string* sddl = sim::SddlOf(windows);
  bool ok = !sim::Failing("CreateFileW") && (!security || (sddl && sim::ParseSddl(*sddl, security)));
  sim::Trace("CreateFileW %s%s", windows.c_str(), ok ? "" : " fails");
  if (!ok) return false;
  struct stat info;
  bool on_host = stat(host.c_str(), &info) == 0;
  *attributes = on_host && !S_ISDIR(info.st_mode) ? 0x80 : kFileAttributeDirectory;  // FILE_ATTRIBUTE_NORMAL
  for (const std::string& point : sim::S().world.reparse_points)
    if (point == host.substr(host.rfind("./", 0) == 0 ? 2 : 0) || strcasecmp(point.c_str(), windows.c_str()) == 0)
      *attributes |= kFileAttributeReparsePoint;
  for (const auto& junction : sim::S().world.junctions)
    if (strcasecmp(junction.first.c_str(), windows.c_str()) == 0) *attributes |= kFileAttributeReparsePoint;
  IdentityOf(windows, identity);
  return true;
}

static bool Reparse(const std::string& windows) {
  std::string host = sim::HostPath(windows.c_str());
  for (const std::string& point : sim::S().world.reparse_points)
    if (point == host || strcasecmp(point.c_str(), windows.c_str()) == 0) return true;
  for (const auto& junction : sim::S().world.junctions)
    if (strcasecmp(junction.first.c_str(), windows.c_str()) == 0) return true;
  return false;
}

bool DeleteInFolder(const char16_t* folder, const char16_t* name) {
  sim::Lock lock = sim::Enter();
  std::string dir = sim::Utf8(folder), path = dir + "\\" + sim::Utf8(name);
  std::string inside = FinalOf(dir) + "\\", final_path = FinalOf(path);
  const char* refused = Reparse(dir) ? "the folder is a reparse point"
                        : Reparse(path) ? "a reparse point"
                        : !sim::StartsWith(final_path, inside) || final_path.find('\\', inside.size()) != std::string::npos
                            ? "its final path leaves the folder"
                        : std::remove(sim::HostPath(path.c_str()).c_str()) != 0 ? "not there"
                                                                                 : nullptr;
  sim::Trace("SetFileInformationByHandle %s FileDispositionInfo: %s", path.c_str(), refused ? refused : "deleted");
  return !refused;
}

uint32_t FinalPathName(const char16_t* path, char16_t* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  std::string final_path = FinalOf(sim::Utf8(path));
  bool fails = sim::Failing("GetFinalPathNameByHandleW");
  sim::Trace("GetFinalPathNameByHandleW %s = %s", sim::Utf8(path).c_str(), fails ? "fails" : final_path.c_str());
  return fails ? 0 : sim::GiveText(sim::Utf16(final_path), buffer, size);
}

}  // namespace platform
