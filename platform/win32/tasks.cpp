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

static HRESULT OpenOrMakeFolder(const char16_t* path, ComPtr<ITaskFolder>* folder) {
  ComPtr<ITaskService> service;
  HRESULT result = Connect(&service);
  if (FAILED(result)) return result;
  Bstr name(path);
  if (SUCCEEDED(service->GetFolder(name.get(), folder->out()))) return S_OK;
  ComPtr<ITaskFolder> root;
  Bstr top(u"\\");
  result = service->GetFolder(top.get(), root.out());
  if (FAILED(result)) return result;
  VARIANT inherited = {};  // VT_EMPTY: the library's own rights
  return root->CreateFolder(name.get(), inherited, folder->out());
}

bool Absent(HRESULT result) {
  return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

int32_t RegisterTask(const char16_t* folder, const char16_t* name, const char16_t* xml) {
  ComApartment apartment;
  ComPtr<ITaskFolder> tasks;
  HRESULT result = OpenOrMakeFolder(folder, &tasks);
  if (FAILED(result)) return result;
  Bstr task_name(name), definition(xml);
  VARIANT none = {};  // VT_EMPTY
  ComPtr<IRegisteredTask> task;
  return tasks->RegisterTask(task_name.get(), definition.get(), TASK_CREATE_OR_UPDATE, none, none,
                             TASK_LOGON_INTERACTIVE_TOKEN, none, task.out());
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

int32_t TaskProgram(const char16_t* folder, const char16_t* name, char16_t* path, uint32_t size) {
  ComApartment apartment;
  if (size) path[0] = 0;
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
  Bstr program;
  if (FAILED(result) || FAILED(result = task->get_Definition(definition.out())) ||
      FAILED(result = definition->get_Actions(actions.out())) || FAILED(result = actions->get_Item(1, action.out())) ||
      FAILED(result = action->QueryInterface(__uuidof(IExecAction), exec.out_void())) ||
      FAILED(result = exec->get_Path(program.out())))
    return result;
  if (program.get()) CopyWide(program.get(), path, size);
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
