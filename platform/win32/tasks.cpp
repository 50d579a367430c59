#include "platform/tasks.h"

#include "platform/win32/task_service.h"

#include <sddl.h>

namespace platform {

HRESULT Connect(ComPtr<ITaskService>* service) {
  HRESULT result = ::CoCreateInstance(__uuidof(TaskScheduler), nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                      service->out_void());
  if (FAILED(result)) return result;
  VARIANT none = {};  // VT_EMPTY
  return (*service)->Connect(none, none, none, none);
}

static HRESULT OpenFolder(const char16_t* path, ComPtr<ITaskFolder>* folder) {
  ComPtr<ITaskService> service;
  HRESULT result = Connect(&service);
  if (FAILED(result)) return result;
  Bstr name(path);
  return service->GetFolder(name.get(), folder->out());
}

// Made with `security`; one found with rights of its own gets them.
static HRESULT OpenOrMakeFolder(const char16_t* path, const Bstr& security, ComPtr<ITaskFolder>* folder) {
  ComPtr<ITaskService> service;
  HRESULT result = Connect(&service);
  if (FAILED(result)) return result;
  Bstr name(path);
  if (SUCCEEDED(service->GetFolder(name.get(), folder->out()))) {
    // A scheduler without folder rights at all (Wine's) has none to set right.
    result = (*folder)->SetSecurityDescriptor(security.get(), 0);
    return result == E_NOTIMPL ? S_OK : result;
  }
  ComPtr<ITaskFolder> root;
  Bstr top(u"\\");
  result = service->GetFolder(top.get(), root.out());
  if (FAILED(result)) return result;
  VARIANT sddl = {};
  sddl.vt = VT_BSTR;
  sddl.bstrVal = security.get();
  return root->CreateFolder(name.get(), sddl, folder->out());
}

bool Absent(HRESULT result) {
  return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

int32_t RegisterTask(const char16_t* folder, const char16_t* name, const char16_t* xml, const char16_t* security) {
  ComApartment apartment;
  ComPtr<ITaskFolder> tasks;
  Bstr task_name(name), definition(xml), descriptor(security);
  HRESULT result = OpenOrMakeFolder(folder, descriptor, &tasks);
  if (FAILED(result)) return result;
  VARIANT none = {}, sddl = {};  // VT_EMPTY
  sddl.vt = VT_BSTR;
  sddl.bstrVal = descriptor.get();
  ComPtr<IRegisteredTask> task;
  return tasks->RegisterTask(task_name.get(), definition.get(), TASK_CREATE_OR_UPDATE | TASK_DONT_ADD_PRINCIPAL_ACE,
                             none, none, TASK_LOGON_INTERACTIVE_TOKEN, sddl, task.out());
}

int32_t DeleteTask(const char16_t* folder, const char16_t* name) {
  ComApartment apartment;
  ComPtr<ITaskFolder> tasks;
  HRESULT result = OpenFolder(folder, &tasks);
  if (SUCCEEDED(result)) {
    Bstr task_name(name);
    result = tasks->DeleteTask(task_name.get(), 0);
  }
  return Absent(result) ? S_FALSE : result;
}

// A text the task holds, whole or not at all.
static void Take(const Bstr& text, char16_t* to) {
  if (!text.get() || !CopyWide(text.get(), to, 260)) to[0] = 0;
}

int32_t ReadTask(const char16_t* folder, const char16_t* name, TaskFacts* facts) {
  ComApartment apartment;
  *facts = {};
  ComPtr<ITaskFolder> tasks;
  ComPtr<IRegisteredTask> task;
  HRESULT result = OpenFolder(folder, &tasks);
  if (SUCCEEDED(result)) {
    Bstr task_name(name);
    result = tasks->GetTask(task_name.get(), task.out());
  }
  if (Absent(result)) return S_FALSE;
  ComPtr<ITaskDefinition> definition;
  ComPtr<IActionCollection> actions;
  ComPtr<IAction> action;
  ComPtr<IExecAction> exec;
  ComPtr<IPrincipal> principal;
  ComPtr<ITaskSettings> settings;
  Bstr program, user, group;
  TASK_RUNLEVEL_TYPE level = TASK_RUNLEVEL_LUA;
  VARIANT_BOOL on_demand = VARIANT_TRUE;
  if (FAILED(result) || FAILED(result = task->get_Definition(definition.out())) ||
      FAILED(result = definition->get_Actions(actions.out())) || FAILED(result = actions->get_Item(1, action.out())) ||
      FAILED(result = action->QueryInterface(__uuidof(IExecAction), exec.out_void())) ||
      FAILED(result = exec->get_Path(program.out())) || FAILED(result = definition->get_Principal(principal.out())) ||
      FAILED(result = principal->get_UserId(user.out())) || FAILED(result = principal->get_GroupId(group.out())) ||
      FAILED(result = principal->get_RunLevel(&level)) || FAILED(result = definition->get_Settings(settings.out())) ||
      FAILED(result = settings->get_AllowDemandStart(&on_demand)))
    return result;
  Take(program, facts->program);
  Take(user, facts->user);
  facts->group = group.get() && group.get()[0];
  facts->highest = level == TASK_RUNLEVEL_HIGHEST;
  facts->on_demand = on_demand != VARIANT_FALSE;
  return S_OK;
}

uint32_t UserSid(char16_t* buffer, uint32_t size) {
  HANDLE raw = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw)) return 0;
  ScopedHandle token(raw);
  BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
  DWORD needed = 0;
  LPWSTR text = nullptr;
  if (!::GetTokenInformation(token.get(), TokenUser, user, sizeof user, &needed) ||
      !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &text))
    return 0;
  ScopedLocal held(text);
  return CopyWide(text, buffer, size);
}

}  // namespace platform
