// Signatures by file name, as the world gives them: WinVerifyTrust's answer
// and the leaf certificate; a file without one carries none.
#include "platform/trust.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/sim/state.h"
#include "platform/win_values.h"

namespace sim {

static std::string FileName(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

static bool IsReparsePoint(const std::string& windows) {
  for (const std::string& point : S().world.reparse_points)
    if (point == windows || point == HostPath(windows.c_str())) return true;
  return false;
}

}  // namespace sim

namespace platform {

int32_t VerifySignature(const char16_t* path, Handle file, uint8_t* leaf, uint32_t size, uint32_t* length) {
  sim::Lock lock = sim::Enter();
  *length = 0;
  if (sim::Failing("LoadLibraryExW")) {
    sim::Trace("LoadLibraryExW wintrust.dll, system folder only, fails");
    return kTrustCannotCheck;
  }
  std::string name = sim::FileName(sim::Utf8(path));
  auto found = sim::S().world.signatures.find(name);
  int32_t result = found == sim::S().world.signatures.end() ? kTrustNoSignature : found->second.result;
  if (found != sim::S().world.signatures.end() && found->second.leaf.size() <= size) {
    std::memcpy(leaf, found->second.leaf.data(), found->second.leaf.size());
    *length = static_cast<uint32_t>(found->second.leaf.size());
  }
  sim::Trace("WinVerifyTrust %s%s = %08X", name.c_str(), file ? " through its handle" : "", static_cast<uint32_t>(result));
  return result;
}

Handle OpenHeld(const char16_t* path) {
  sim::Lock lock = sim::Enter();
  std::string windows = sim::Utf8(path);
  bool there = access(sim::HostPath(path).c_str(), F_OK) == 0, reparse = sim::IsReparsePoint(windows);
  sim::Trace("CreateFileW %s, others may only read%s", windows.c_str(),
             !there ? " fails" : reparse ? ": a reparse point, refused" : "");
  return there && !reparse ? sim::NewHandle() : nullptr;
}

bool ImageCarriesSignature() {
  sim::Lock lock = sim::Enter();
  auto found = sim::S().world.signatures.find(sim::S().world.image_name);
  return found != sim::S().world.signatures.end() && found->second.result != kTrustNoSignature;
}

Handle OpenOwnImage(char16_t* path, uint32_t size) {
  sim::Lock lock = sim::Enter();
  const sim::World& w = sim::S().world;
  std::string own = (w.program_dir.empty() ? w.current_dir : w.program_dir) + "\\" + w.image_name;
  bool proven = !w.image_renamed && sim::GiveText(sim::Utf16(own), path, size) < size;
  sim::Trace("CreateFileW %s, the running image%s", own.c_str(), proven ? "" : ", renamed away: not it");
  return proven ? sim::NewHandle() : nullptr;
}

}  // namespace platform
