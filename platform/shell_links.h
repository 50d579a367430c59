// COM and the shell link object: start-at-logon shortcuts.
#pragma once
#include "platform/types.h"

namespace platform {

// HRESULTs: negative on failure.
int32_t CoInitialize();
void CoUninitialize();
int32_t CoCreateInstance(const Guid& clsid, uint32_t context, const Guid& iid, Handle* object);
int32_t QueryInterface(Handle object, const Guid& iid, Handle* result);
uint32_t Release(Handle object);

// IShellLinkW and IPersistFile methods.
int32_t ShellLinkSetPath(Handle link, const char16_t* path);
int32_t ShellLinkSetWorkingDirectory(Handle link, const char16_t* directory);
int32_t PersistFileSave(Handle file, const char16_t* path, int32_t remember);

}  // namespace platform
