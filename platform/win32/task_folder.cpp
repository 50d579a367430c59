// A task folder removed whole: the installer's custom action alone does it.
#include "platform/shell.h"
#include "platform/tasks.h"
#include "platform/win32/task_service.h"

namespace platform {

// Deletes each task the collection lists, from the last.
static HRESULT DeleteListed(ITaskFolder* tasks) {
  ComPtr<IRegisteredTaskCollection> all;
  LONG count = 0;
  HRESULT result = tasks->GetTasks(TASK_ENUM_HIDDEN, all.out());
  if (FAILED(result) || FAILED(result = all->get_Count(&count))) return result;
  for (LONG i = count; i >= 1; --i) {
    VARIANT index = {};
    index.vt = VT_I4;
    index.lVal = i;
    ComPtr<IRegisteredTask> task;
    Bstr name;
    if (SUCCEEDED(all->get_Item(index, task.out())) && SUCCEEDED(task->get_Name(name.out())))
      tasks->DeleteTask(name.get(), 0);
  }
  return S_OK;
}

// Where the scheduler cannot list a folder (Wine's cannot), its store can:
// one file a task, named as the task, in the native System32\Tasks.
static void DeleteStored(ITaskFolder* tasks, const char16_t* folder) {
  char16_t pattern[MAX_PATH];
  uint32_t length = NativeSystemFolder(pattern, MAX_PATH);
  if (length == 0 || !CopyWide(L"\\Tasks", pattern + length, MAX_PATH - length)) return;
  length += 6;
  for (const char16_t* c = folder; *c && length + 3 < MAX_PATH; ++c) pattern[length++] = *c;
  if (length + 3 >= MAX_PATH) return;
  CopyWide(L"\\*", pattern + length, MAX_PATH - length);
  WIN32_FIND_DATAW found;
  HANDLE listing = ::FindFirstFileW(reinterpret_cast<LPCWSTR>(pattern), &found);
  if (listing == INVALID_HANDLE_VALUE) return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    Bstr name(reinterpret_cast<const char16_t*>(found.cFileName));
    tasks->DeleteTask(name.get(), 0);
  } while (::FindNextFileW(listing, &found));
  ::FindClose(listing);
}

int32_t DeleteTaskFolder(const char16_t* folder) {
  ComApartment apartment;
  ComPtr<ITaskService> service;
  ComPtr<ITaskFolder> tasks, root;
  Bstr name(folder), top(u"\\");
  HRESULT result = Connect(&service);
  if (FAILED(result)) return result;
  result = service->GetFolder(name.get(), tasks.out());
  if (Absent(result)) return S_FALSE;
  if (FAILED(result)) return result;
  if (FAILED(DeleteListed(tasks.get()))) DeleteStored(tasks.get(), folder);
  if (FAILED(result = service->GetFolder(top.get(), root.out()))) return result;
  return root->DeleteFolder(name.get(), 0);
}

}  // namespace platform
