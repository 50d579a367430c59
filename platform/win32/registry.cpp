#include "platform/registry.h"

#include "platform/win32/win32.h"

namespace platform {

int32_t ReadRegistryValue(RegistryRoot root, const char16_t* key, const char16_t* name, uint32_t* type,
                          void* data, uint32_t size) {
  HKEY top = root == RegistryRoot::ClassesRoot    ? HKEY_CLASSES_ROOT
             : root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE
                                                  : HKEY_CURRENT_USER;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(top, reinterpret_cast<LPCWSTR>(key), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &opened) !=
      ERROR_SUCCESS)
    return -1;
  DWORD kind = 0, bytes = size;
  LONG result = ::RegQueryValueExW(opened, reinterpret_cast<LPCWSTR>(name), nullptr, &kind,
                                   static_cast<BYTE*>(data), &bytes);
  ::RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return -1;
  *type = kind;
  return static_cast<int32_t>(bytes);
}

}  // namespace platform
