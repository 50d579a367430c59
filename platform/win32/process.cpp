#include <cstdlib>

#include "platform/threads.h"
#include "platform/win32/win32.h"

namespace platform {

void Sleep(uint32_t ms) { ::Sleep(ms); }

void Exit(int32_t code) { std::exit(code); }

Handle GetModuleHandleA(const char* name) { return ::GetModuleHandleA(name); }

int32_t SetDefaultDllDirectories(uint32_t flags) {
  using Setter = BOOL(WINAPI*)(DWORD);
  FARPROC found = ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
  if (!found) return 0;
  return reinterpret_cast<Setter>(reinterpret_cast<void*>(found))(flags);
}

}  // namespace platform
