#include "platform/shell_links.h"

#include "platform/win32/win32.h"

#include <objbase.h>
#include <shlobj.h>

namespace platform {

static const GUID& AsGuid(const Guid& g) { return *reinterpret_cast<const GUID*>(&g); }

// The same as CoInitialize(NULL); one import serves the link and the tasks.
int32_t CoInitialize() { return ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }

void CoUninitialize() { ::CoUninitialize(); }

int32_t CoCreateInstance(const Guid& clsid, uint32_t context, const Guid& iid, Handle* object) {
  return ::CoCreateInstance(AsGuid(clsid), nullptr, context, AsGuid(iid), object);
}

int32_t QueryInterface(Handle object, const Guid& iid, Handle* result) {
  return static_cast<IUnknown*>(object)->QueryInterface(AsGuid(iid), result);
}

uint32_t Release(Handle object) { return static_cast<IUnknown*>(object)->Release(); }

int32_t ShellLinkSetPath(Handle link, const char16_t* path) {
  return static_cast<IShellLinkW*>(link)->SetPath(reinterpret_cast<LPCWSTR>(path));
}

int32_t ShellLinkSetWorkingDirectory(Handle link, const char16_t* directory) {
  return static_cast<IShellLinkW*>(link)->SetWorkingDirectory(reinterpret_cast<LPCWSTR>(directory));
}

int32_t PersistFileSave(Handle file, const char16_t* path, int32_t remember) {
  return static_cast<IPersistFile*>(file)->Save(reinterpret_cast<LPCOLESTR>(path), remember);
}

}  // namespace platform
