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

// A folder's descriptor is the file beside it: Tasks/Nocturo.sddl.
int32_t RegisterTask(const char16_t* folder, const char16_t* name, const char16_t* xml, const char16_t* security) {
  sim::Lock lock = sim::Enter();
  std::string sddl = sim::Utf8(security), folder_file = sim::TaskFile(folder, nullptr);
  sim::Trace(std::filesystem::exists(folder_file) ? "ITaskFolder::SetSecurityDescriptor %s %s"
                                                  : "ITaskFolder::CreateFolder %s %s",
             sim::Utf8(folder).c_str(), sddl.c_str());
  std::filesystem::create_directories(folder_file);
  std::ofstream(folder_file + ".sddl", std::ios::binary) << sddl;
  bool fails = sim::Failing("RegisterTask");
  sim::Trace("ITaskFolder::RegisterTask %s\\%s flags %d sddl %s%s", sim::Utf8(folder).c_str(),
             sim::Utf8(name).c_str(), 6 | 16, sddl.c_str(), fails ? " fails" : "");
  if (fails) return sim::kFail;
  std::ofstream(sim::TaskFile(folder, name), std::ios::binary) << sim::Utf8(xml);
  return 0;
}

int32_t DeleteTask(const char16_t* folder, const char16_t* name) {
  sim::Lock lock = sim::Enter();
  bool deleted = std::filesystem::remove(sim::TaskFile(folder, name));
  sim::Trace("ITaskFolder::DeleteTask %s\\%s = %d", sim::Utf8(folder).c_str(), sim::Utf8(name).c_str(), deleted ? 0 : 1);
  return deleted ? 0 : 1;
}

// An element's text, after `from`; "" where it has none.
static std::string Element(const std::string& xml, const std::string& name, size_t from = 0) {
  size_t start = xml.find("<" + name + ">", from), end = xml.find("</" + name + ">", from);
  if (start == std::string::npos || end == std::string::npos || end < start) return "";
  std::string text = xml.substr(start + name.size() + 2, end - start - name.size() - 2);
  for (size_t amp; (amp = text.find("&amp;")) != std::string::npos;) text.replace(amp, 5, "&");
  return text;
}

// What the scheduler reads back of the XML; a setting it lacks has its default.
int32_t ReadTask(const char16_t* folder, const char16_t* name, TaskFacts* facts) {
  sim::Lock lock = sim::Enter();
  *facts = {};
  std::ifstream in(sim::TaskFile(folder, name), std::ios::binary);
  std::stringstream xml;
  xml << in.rdbuf();
  std::string text = xml.str();
  size_t principal = text.find("<Principal ");
  principal = principal == std::string::npos ? text.size() : principal;
  std::string program = Element(text, "Command"), user = Element(text, "UserId", principal);
  facts->group = !Element(text, "GroupId", principal).empty();
  facts->highest = Element(text, "RunLevel") == "HighestAvailable";
  facts->on_demand = Element(text, "AllowStartOnDemand") != "false";
  sim::Trace("ITaskFolder::GetTask %s\\%s = %s", sim::Utf8(folder).c_str(), sim::Utf8(name).c_str(),
             in ? program.c_str() : "none");
  if (!in) return 1;
  sim::GiveText(sim::Utf16(program), facts->program, 260);
  sim::GiveText(sim::Utf16(user), facts->user, 260);
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
