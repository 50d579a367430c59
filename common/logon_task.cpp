#include "common/logon_task.h"

#include "common/admin_only.h"
#include "platform/files.h"
#include "platform/tasks.h"

const LogonTaskBase kTrayTask = {u"nocturotray", u"nocturotray.exe"};
const LogonTaskBase kDaemonTask = {u"nocturodaemon", u"nocturodaemon.exe"};

namespace {

// Appends into a caller's buffer; what does not fit marks it and is dropped.
struct XmlText {
  char16_t* text;
  size_t size;
  size_t length;
  bool overflow;

  void Add(const char16_t* part) {
    for (const char16_t* c = part; *c; ++c) Put(*c);
  }
  // Element text: a folder may hold '&' or '\''.
  void AddEscaped(const char16_t* part) {
    for (const char16_t* c = part; *c; ++c) {
      switch (*c) {
        case u'&': Add(u"&amp;"); break;
        case u'<': Add(u"&lt;"); break;
        case u'>': Add(u"&gt;"); break;
        case u'"': Add(u"&quot;"); break;
        case u'\'': Add(u"&apos;"); break;
        default: Put(*c);
      }
    }
  }
  void Put(char16_t c) {
    if (length + 1 >= size) {
      overflow = true;
      return;
    }
    text[length++] = c;
    text[length] = 0;
  }
};

// "C:\", which ends in its backslash already.
bool IsRoot(const char16_t* folder) { return folder[0] && folder[1] == u':' && folder[2] == u'\\' && !folder[3]; }

}  // namespace

// The task's definition, in the order of the task schema where it has one (a
// logon trigger's UserId before its Delay, an Exec's WorkingDirectory after
// its Command); a trigger is enabled unless it says otherwise. \1 is the user, \2 the folder, \3 the program in it. Priority 5
// is normal: the default, 7, is below normal, and every blanker the tray starts
// would inherit it, its keyboard hook too. The delay lets the taskbar come up.
static const char kTaskXml[] =
    "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">"
    "<Triggers><LogonTrigger><UserId>\1</UserId><Delay>PT10S</Delay></LogonTrigger></Triggers>"
    "<Principals><Principal id=\"Author\"><UserId>\1</UserId><LogonType>InteractiveToken</LogonType>"
    "<RunLevel>HighestAvailable</RunLevel></Principal></Principals>"
    "<Settings><AllowStartOnDemand>false</AllowStartOnDemand><MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>"
    "<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>"
    "<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>"
    "<ExecutionTimeLimit>PT0S</ExecutionTimeLimit><Priority>5</Priority></Settings>"
    "<Actions Context=\"Author\"><Exec><Command>\2\3</Command><WorkingDirectory>\2</WorkingDirectory></Exec></Actions>"
    "</Task>";

bool BuildLogonTaskXml(const LogonTaskBase& base, const char16_t* user, const char16_t* folder, char16_t* xml,
                       size_t size) {
  XmlText out = {xml, size, 0, size == 0};
  if (size) xml[0] = 0;
  for (const char* c = kTaskXml; *c; ++c) {
    switch (*c) {
      case '\1': out.AddEscaped(user); break;
      case '\2': out.AddEscaped(folder); break;
      case '\3':
        if (!IsRoot(folder)) out.Put(u'\\');
        out.AddEscaped(base.image);
        break;
      default: out.Put(static_cast<char16_t>(*c));
    }
  }
  if (out.overflow && size) xml[0] = 0;
  return !out.overflow;
}

// "<program> <SID>"
static bool TaskName(const LogonTaskBase& base, PathBuffer* name) {
  char16_t user[kMaxPath];
  if (platform::UserSid(user, kMaxPath) == 0) return false;
  ClearText(name);
  AppendText(name, base.program);
  AppendText(name, u" ");
  return AppendText(name, user);
}

bool RegisterLogonTask(const LogonTaskBase& base, const char16_t* folder) {
  PathBuffer name;
  char16_t user[kMaxPath];
  char16_t xml[kTaskXmlSize];
  return TaskName(base, &name) && platform::UserSid(user, kMaxPath) != 0 &&
         BuildLogonTaskXml(base, user, folder, xml, kTaskXmlSize) &&
         platform::RegisterTask(kTaskFolder, name.text, xml, kTaskSecurity) >= 0;
}

void RemoveLogonTask(const LogonTaskBase& base) {
  PathBuffer name;
  if (TaskName(base, &name)) platform::DeleteTask(kTaskFolder, name.text);
}

bool LogonTaskStartsFrom(const LogonTaskBase& base, const char16_t* folder) {
  PathBuffer name, ours;
  char16_t user[kMaxPath];
  platform::TaskFacts task;
  ClearText(&ours);
  AppendText(&ours, folder);
  if (!IsRoot(folder)) AppendText(&ours, u"\\");
  return AppendText(&ours, base.image) && TaskName(base, &name) && platform::UserSid(user, kMaxPath) != 0 &&
         platform::ReadTask(kTaskFolder, name.text, &task) == 0 && !task.group && task.highest && !task.on_demand &&
         platform::SameName(task.user, user) && platform::SameName(task.program, ours.text);
}

bool LogonTaskForEveryone(const LogonTaskBase& base) {
  platform::TaskFacts task;
  return platform::ReadTask(kTaskFolder, base.program, &task) == 0 && task.group;
}

void RemoveStaleLogonTask(const LogonTaskBase& base) {
  PathBuffer name, folder, resolved;
  platform::TaskFacts task;
  if (!TaskName(base, &name) || platform::ReadTask(kTaskFolder, name.text, &task) != 0) return;
  ClearText(&folder);
  AppendText(&folder, task.program);
  while (folder.length > 0 && folder.text[folder.length - 1] != u'\\') folder.text[--folder.length] = 0;
  if (folder.length > 3) folder.text[--folder.length] = 0;  // "C:\" keeps its backslash
  if (platform::Access(task.program, 0) != 0 || folder.length == 0 ||
      !FolderOnlyAdministratorsCanChange(folder.text, &resolved))
    platform::DeleteTask(kTaskFolder, name.text);
}
