#include "common/script_host.h"

#include <initializer_list>

#include "common/text_buffer.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"

using platform::RegistryRoot;

constexpr uint32_t kRegSz = 1, kRegDword = 4;

// "Enabled" 0, as a number or as the text "0".
static bool SwitchedOff(RegistryRoot root) {
  uint32_t type = 0;
  char16_t value[8] = {};
  int32_t bytes = platform::ReadRegistryValue(root, u"Software\\Microsoft\\Windows Script Host\\Settings",
                                              u"Enabled", &type, value, sizeof value - sizeof value[0]);
  if (bytes == 4 && type == kRegDword) return value[0] == 0 && value[1] == 0;
  return bytes >= 2 && type == kRegSz && value[0] == u'0' && value[1] == 0;
}

bool VbscriptRuns() {
  PathBuffer engine;
  ClearText(&engine);
  if (!TakeWritten(&engine, platform::NativeSystemFolder(engine.text, kMaxPath)) ||
      !AppendText(&engine, u"\\vbscript.dll") || platform::Access(engine.text, 0) != 0)
    return false;
  uint32_t type = 0;
  char16_t program_id[128] = {};
  if (platform::ReadRegistryValue(RegistryRoot::ClassesRoot, u".vbs", nullptr, &type, program_id,
                                  sizeof program_id - sizeof program_id[0]) <= 2)
    return false;
  for (RegistryRoot root : {RegistryRoot::LocalMachine, RegistryRoot::CurrentUser})
    if (SwitchedOff(root)) return false;
  return true;
}
