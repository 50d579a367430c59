#include "platform/resources.h"

#include <cstring>
#include <string>

#include "platform/sim/state.h"

namespace platform {

int32_t LoadStringA(Handle instance, uint32_t id, char* buffer, int32_t size) {
  sim::Lock lock = sim::Enter();
  auto found = sim::S().world.strings.find(id);
  std::string text = found == sim::S().world.strings.end() ? "" : found->second;
  if (size <= 0) return 0;
  size_t length = text.size() < static_cast<size_t>(size - 1) ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  sim::Trace("LoadStringA %p %u size %d = \"%s\"", instance, id, size, buffer);
  return static_cast<int32_t>(length);
}

static Handle Load(Handle instance, uint16_t id, const char* kind) {
  sim::Lock lock = sim::Enter();
  Handle h = sim::NewHandle();
  std::string what = std::string(instance ? "" : "system ") + kind + " " + std::to_string(id);
  sim::S().resources[h] = what;
  sim::Trace("Load%s %p = %s", kind[0] == 'i' ? "IconA" : "CursorA", instance, what.c_str());
  return h;
}

Handle LoadIconA(Handle instance, uint16_t id) { return Load(instance, id, "icon"); }

Handle LoadCursorA(Handle instance, uint16_t id) { return Load(instance, id, "cursor"); }

}  // namespace platform
