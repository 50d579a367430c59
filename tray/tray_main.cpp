#include <cstddef>

#include "common/dll_search.h"
#include "platform/threads.h"
#include "platform/win32/win32.h"
#include "tray/tray.h"

// The linker's list of static initialisers: -1, each of them, 0.
extern "C" void (*__CTOR_LIST__[])();

// Windows starts the tray here, not in the C runtime's start-up code, which
// was a quarter of the program's bytes: the tray uses none of what that
// prepares (arguments, thread-local data, floating point, exit handlers) but
// its static initialisers, run here as the runtime runs them, last first.
// None may need an exit handler: nothing here would run it.
extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  size_t count = 0;
  while (__CTOR_LIST__[count + 1]) count++;
  for (size_t i = count; i >= 1; --i) __CTOR_LIST__[i]();
  LoadDllsFromSystemFolderOnly();
  ::ExitProcess(static_cast<UINT>(TrayMain(platform::GetModuleHandleA(nullptr))));
}
