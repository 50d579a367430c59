#include "platform/shell_links.h"

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/sim/state.h"

namespace sim {

constexpr int32_t kFail = static_cast<int32_t>(0x80004005);         // E_FAIL
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002);  // E_NOINTERFACE
constexpr int32_t kNotInitialized = static_cast<int32_t>(0x800401F0);
const char kShellLink[] = "{00021401-0000-0000-C000-000000000046}";
const char kShellLinkW[] = "{000214F9-0000-0000-C000-000000000046}";
const char kPersistFile[] = "{0000010B-0000-0000-C000-000000000046}";

std::string GuidText(const platform::Guid& g) {
  char text[40];
  snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.data1, g.data2,
           g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4], g.data4[5],
           g.data4[6], g.data4[7]);
  return text;
}

static ComObject* Find(platform::Handle h) {
  auto found = S().com_objects.find(h);
  return found == S().com_objects.end() || found->second.refs <= 0 ? nullptr : &found->second;
}

static const char* Kind(const ComObject* o) { return o->is_link ? "IShellLinkW" : "IPersistFile"; }

}  // namespace sim

namespace platform {

int32_t CoInitialize() {
  sim::Lock lock = sim::Enter();
  bool fails = sim::Failing("CoInitialize");
  if (!fails) sim::S().com_inits++;
  sim::Trace("CoInitialize%s", fails ? " fails" : "");
  return fails ? sim::kFail : 0;
}

void CoUninitialize() {
  sim::Lock lock = sim::Enter();
  sim::Trace("CoUninitialize%s", --sim::S().com_inits < 0 ? " without CoInitialize" : "");
}

int32_t CoCreateInstance(const Guid& clsid, uint32_t context, const Guid& iid, Handle* object) {
  sim::Lock lock = sim::Enter();
  std::string c = sim::GuidText(clsid), i = sim::GuidText(iid);
  int32_t result = sim::S().com_inits <= 0 ? sim::kNotInitialized
                   : sim::Failing("CoCreateInstance") ? sim::kFail
                   : c != sim::kShellLink || i != sim::kShellLinkW ? sim::kNoInterface : 0;
  *object = nullptr;
  if (result == 0) {
    *object = sim::NewHandle();
    sim::S().com_objects[*object] = {true, *object, 1, "", ""};
  }
  sim::Trace("CoCreateInstance %s %u %s = %08X", c.c_str(), context, i.c_str(),
             static_cast<uint32_t>(result));
  return result;
}

int32_t QueryInterface(Handle object, const Guid& iid, Handle* result) {
  sim::Lock lock = sim::Enter();
  sim::ComObject* o = sim::Find(object);
  std::string i = sim::GuidText(iid);
  bool ok = o && o->is_link && i == sim::kPersistFile && !sim::Failing("QueryInterface");
  *result = nullptr;
  if (ok) {
    *result = sim::NewHandle();
    sim::S().com_objects[*result] = {false, object, 1, "", ""};
  }
  sim::Trace("QueryInterface %s%s", i.c_str(), ok ? "" : " fails");
  return ok ? 0 : sim::kNoInterface;
}

uint32_t Release(Handle object) {
  sim::Lock lock = sim::Enter();
  sim::ComObject* o = sim::Find(object);
  if (!o) {
    sim::Trace("Release of no live interface");
    return 0;
  }
  sim::Trace("Release %s, %d left", sim::Kind(o), o->refs - 1);
  return static_cast<uint32_t>(--o->refs);
}

static int32_t SetLinkText(Handle link, const char16_t* text, bool directory) {
  sim::Lock lock = sim::Enter();
  sim::ComObject* o = sim::Find(link);
  sim::Trace("IShellLinkW::%s %s", directory ? "SetWorkingDirectory" : "SetPath", sim::Utf8(text).c_str());
  if (!o || !o->is_link) return sim::kFail;
  (directory ? o->directory : o->target) = sim::Utf8(text);
  return 0;
}

int32_t ShellLinkSetPath(Handle link, const char16_t* path) { return SetLinkText(link, path, false); }

int32_t ShellLinkSetWorkingDirectory(Handle link, const char16_t* directory) {
  return SetLinkText(link, directory, true);
}

// The saved link is a text file holding its two properties, in UTF-8.
int32_t PersistFileSave(Handle file, const char16_t* path, int32_t remember) {
  sim::Lock lock = sim::Enter();
  std::string narrow = sim::Utf8(path);
  sim::ComObject* o = sim::Find(file);
  sim::ComObject* link = o ? sim::Find(o->link) : nullptr;
  bool ok = link && !sim::Failing("Save");
  sim::Trace("IPersistFile::Save %s remember %d%s", narrow.c_str(), remember, ok ? "" : " fails");
  if (!ok) return sim::kFail;
  std::ofstream out(sim::HostPath(narrow.c_str()), std::ios::binary);
  out << "target " << link->target << "\nworkdir " << link->directory << "\n";
  return 0;
}

}  // namespace platform
