#include "platform/tray.h"

#include <cstring>
#include <string>

#include "platform/sim/state.h"

namespace platform {

int32_t NotifyIcon(uint32_t message, const NotifyIconRecord& r) {
  static const char* const kMessages[] = {"NIM_ADD", "NIM_MODIFY", "NIM_DELETE"};
  sim::Lock lock = sim::Enter();
  auto icon = sim::S().resources.find(r.icon);
  std::string tip(r.tip, strnlen(r.tip, sizeof r.tip));
  bool fails = sim::Failing("Shell_NotifyIconW");
  std::string info;
  if (r.flags & 0x10)  // NIF_INFO
    info = " info " + std::to_string(r.info_flags) + " \"" + std::string(r.info_title, strnlen(r.info_title, sizeof r.info_title)) +
           "\" \"" + std::string(r.info, strnlen(r.info, sizeof r.info)) + "\"";
  sim::Trace("Shell_NotifyIconW %s size %u window \"%s\" id %u flags %u callback %u %s tip \"%s\"%s%s",
             message < 3 ? kMessages[message] : "?", r.size, sim::WindowName(r.window).c_str(), r.id,
             r.flags, r.callback_message,
             icon == sim::S().resources.end() ? "no icon" : icon->second.c_str(), tip.c_str(), info.c_str(),
             fails ? " fails" : "");
  return fails ? 0 : 1;
}

}  // namespace platform
