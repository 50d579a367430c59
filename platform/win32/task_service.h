// The Task Scheduler's service, for the seam's task functions in more than
// one file: a program links only the files whose functions it calls, and so
// imports only what those call.
#pragma once
#include "platform/win32/scoped.h"
#include "platform/win32/win32.h"

#include <taskschd.h>

namespace platform {

// The scheduler of this PC, as the account this process runs as.
HRESULT Connect(ComPtr<ITaskService>* service);
// The folder or task is not there.
bool Absent(HRESULT result);

}  // namespace platform
