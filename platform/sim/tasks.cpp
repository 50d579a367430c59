// The Task Scheduler: each task a file of its XML under Tasks/, as Wine keeps
// them under system32\tasks; a test's world can hold tasks made before.
#include "platform/tasks.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/sim/state.h"

namespace sim {

constexpr int32_t kFail = static_cast<int32_t>(0x80004005);  // E_FAIL

// "\Nocturo" and "name" as the file Tasks/Nocturo/name.
static std::string TaskFile(const char16_t* folder, const char16_t* name) {
  std::string path = "Tasks" + Utf8(folder);
  for (char& c : path)
    if (c == '\\') c = '/';
  return name ? path + "/" + Utf8(name) : path;
}

}  // namespace sim

namespace platform {

int32_t RegisterTask(const char16_t* folder, const char16_t* name, const char16_t* xml) {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("RegisterTask");
  sim::Trace("ITaskFolder::RegisterTask %s\\%s%s", sim::Utf8(folder).c_str(), sim::Utf8(name).c_str(),
             fails ? " fails" : "");
  if (fails) return sim::kFail;
  std::filesystem::create_directories(sim::TaskFile(folder, nullptr));
  std::ofstream(sim::TaskFile(folder, name), std::ios::binary) << sim::Utf8(xml);
  return 0;
}

int32_t DeleteTask(const char16_t* folder, const char16_t* name) {
  sim::Lock lock = sim::Enter();
  bool deleted = std::filesystem::remove(sim::TaskFile(folder, name));
  sim::Trace("ITaskFolder::DeleteTask %s\\%s = %d", sim::Utf8(folder).c_str(), sim::Utf8(name).c_str(), deleted ? 0 : 1);
  return deleted ? 0 : 1;
}

// The text of the XML's <Command>.
int32_t TaskProgram(const char16_t* folder, const char16_t* name, char16_t* path, uint32_t size) {
  sim::Lock lock = sim::Enter();
  std::ifstream in(sim::TaskFile(folder, name), std::ios::binary);
  std::stringstream xml;
  xml << in.rdbuf();
  std::string text = xml.str();
  size_t start = text.find("<Command>"), end = text.find("</Command>");
  std::string program = start == std::string::npos || end == std::string::npos ? "" : text.substr(start + 9, end - start - 9);
  for (size_t amp; (amp = program.find("&amp;")) != std::string::npos;) program.replace(amp, 5, "&");
  sim::Trace("ITaskFolder::GetTask %s\\%s = %s", sim::Utf8(folder).c_str(), sim::Utf8(name).c_str(),
             in ? program.c_str() : "none");
  if (!in) return 1;
  sim::GiveText(sim::Utf16(program), path, size);
  return 0;
}

int32_t DeleteTaskFolder(const char16_t* folder) {
  sim::Lock lock = sim::Enter();
  auto removed = std::filesystem::remove_all(sim::TaskFile(folder, nullptr));
  sim::Trace("ITaskFolder::DeleteFolder %s with its tasks", sim::Utf8(folder).c_str());
  return removed ? 0 : 1;
}

uint32_t UserSid(char16_t* buffer, uint32_t size) {
  sim::Lock lock = sim::Enter();
  return sim::GiveText(sim::Utf16(sim::S().world.user_sid), buffer, size);
}

}  // namespace platform
