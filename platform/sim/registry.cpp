#include "platform/registry.h"

#include <cstring>
#include <string>

#include "platform/sim/state.h"

namespace platform {

int32_t ReadRegistryValue(RegistryRoot root, const char16_t* key, const char16_t* name, uint32_t* type,
                          void* data, uint32_t size) {
  sim::Lock lock = sim::Enter();
  const char* top = root == RegistryRoot::ClassesRoot ? "HKCR" : root == RegistryRoot::LocalMachine ? "HKLM" : "HKCU";
  std::string where = std::string(top) + "\\" + sim::Utf8(key) + "\\" + (name ? sim::Utf8(name) : "");
  auto found = sim::S().world.registry.find(where);
  sim::Trace("RegQueryValueExW %s = %s", where.c_str(), found == sim::S().world.registry.end() ? "absent" : found->second.c_str());
  if (found == sim::S().world.registry.end()) return -1;
  std::string bytes;
  if (found->second.rfind("dword:", 0) == 0) {
    *type = 4;  // REG_DWORD
    uint32_t number = static_cast<uint32_t>(std::stoul(found->second.substr(6)));
    bytes.assign(reinterpret_cast<const char*>(&number), sizeof number);
  } else {
    *type = 1;  // REG_SZ, with its terminator
    std::u16string text = sim::Utf16(found->second);
    bytes.assign(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * 2);
  }
  if (bytes.size() > size) return -1;
  std::memcpy(data, bytes.data(), bytes.size());
  return static_cast<int32_t>(bytes.size());
}

}  // namespace platform
