// Standard output and the C runtime's system, for the console probe.
#pragma once
#include "platform/types.h"

namespace platform {

// fputs to standard output, bytes unchanged; fflush of it.
int32_t WriteOutput(const char* text);
int32_t FlushOutput();
// Runs a command line through the command interpreter, in this console, and waits.
int32_t RunSystem(const char* command);

}  // namespace platform
