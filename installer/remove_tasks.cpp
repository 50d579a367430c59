// The installer's custom action, carried in the MSI and never installed: a
// full removal takes every start-at-logon task in \Nocturo\, whichever user's,
// and the folder. It runs as SYSTEM, which may delete any of them.
#include "common/logon_task.h"
#include "platform/tasks.h"

// The installer's handle is not needed; whatever happens, the removal goes on.
extern "C" __declspec(dllexport) unsigned int __stdcall RemoveNocturoTasks(unsigned long) {
  platform::DeleteTaskFolder(kTaskFolder);
  return 0;  // ERROR_SUCCESS
}
