// The elevated programs load DLLs from the system folder only, for the whole
// of their life: nothing dropped beside them or into their working folder is
// ever loaded with administrator rights. The probe runs as its caller.
#pragma once
#include <cstdint>

#include "platform/threads.h"
#include "platform/win_values.h"

inline void LoadDllsFromSystemFolderOnly() {
  platform::SetDefaultDllDirectories(platform::kLoadLibrarySearchSystem32);
}
