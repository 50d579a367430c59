#include "platform/console.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

int32_t WriteOutput(const char* text) { return std::fputs(text, stdout); }

int32_t FlushOutput() { return std::fflush(stdout); }

int32_t RunSystem(const char* command) { return std::system(command); }

}  // namespace platform
