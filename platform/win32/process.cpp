#include <cstdlib>

#include "platform/threads.h"
#include "platform/win32/win32.h"

namespace platform {

void Sleep(uint32_t ms) { ::Sleep(ms); }

void Exit(int32_t code) { std::exit(code); }

Handle GetModuleHandleA(const char* name) { return ::GetModuleHandleA(name); }

}  // namespace platform
