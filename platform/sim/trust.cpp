// Signatures by file name, as the world gives them: WinVerifyTrust's answer
// and the leaf certificate; a file without one carries none.
#include "platform/trust.h"

#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/sim/state.h"

namespace platform {

int32_t VerifySignature(const char16_t* path, Handle file, uint8_t* leaf, uint32_t size, uint32_t* length) {
  sim::Lock lock = sim::Enter();
  std::string name = sim::Utf8(path);
  name = name.substr(name.find_last_of("\\/") == std::string::npos ? 0 : name.find_last_of("\\/") + 1);
  auto found = sim::S().world.signatures.find(name);
  *length = 0;
  const int32_t kNoSignature = static_cast<int32_t>(0x800B0100);  // TRUST_E_NOSIGNATURE
  int32_t result = found == sim::S().world.signatures.end() ? kNoSignature : found->second.result;
  if (found != sim::S().world.signatures.end() && found->second.leaf.size() <= size) {
    std::memcpy(leaf, found->second.leaf.data(), found->second.leaf.size());
    *length = static_cast<uint32_t>(found->second.leaf.size());
  }
  sim::Trace("WinVerifyTrust %s%s = %08X", name.c_str(), file ? " through its handle" : "", static_cast<uint32_t>(result));
  return result;
}

Handle OpenHeld(const char16_t* path) {
  sim::Lock lock = sim::Enter();
  bool there = access(sim::HostPath(path).c_str(), F_OK) == 0;
  sim::Trace("CreateFileW %s, others may only read%s", sim::Utf8(path).c_str(), there ? "" : " fails");
  return there ? sim::NewHandle() : nullptr;
}

}  // namespace platform
