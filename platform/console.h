// Standard output, and a program whose output joins it, for the console probe.
#pragma once
#include "platform/types.h"

namespace platform {

// A GBK text to standard output, of any length: to a console as its
// characters, to a file or a pipe as its bytes, unchanged.
int32_t WriteOutput(const char* text);
int32_t FlushOutput();
// Starts `program` (a full path) with `command_line`, no command interpreter
// between, passes what it writes (its output and errors, through a pipe) to
// standard output, and waits for it: to a file or a pipe as the bytes they
// are, to a console as their characters in the console's code page. The
// number of bytes it wrote, or -1 when it could not be started.
int32_t RunPassingOutput(const char16_t* program, const char16_t* command_line);

}  // namespace platform
