// Standard output and the C runtime's system, for the console probe.
#pragma once
#include "platform/types.h"

namespace platform {

// A GBK text to standard output: to a console as its characters, to a file
// or a pipe as its bytes, unchanged.
int32_t WriteOutput(const char* text);
int32_t FlushOutput();
// Runs a command line through the command interpreter, in this console, and waits.
int32_t RunSystem(const char* command);

}  // namespace platform
