// The screen blanker: start-up, the keyboard hook, the monitor-off broadcast
// and the one way out.
#pragma once
#include <atomic>
#include <cstdint>

#include "blanker/variant.h"
#include "platform/types.h"

// Shared by the blanker's threads; each word has one writer and is polled.
extern std::atomic<int32_t> BlankMode;
extern std::atomic<platform::Handle> KeyboardHook;
extern std::atomic<int32_t> WakeArmed;
extern const BlankerVariant* Variant;

int BlankerMain(const BlankerVariant& variant);

void* MonitorOffStarter(void* unused);
void* MonitorOffSender(void* unused);
void* WakeWatcher(void* unused);
intptr_t PLATFORM_CALLBACK KeyboardHookProc(int32_t code, uintptr_t message, intptr_t event);

// Ends the process with code 0 half a second later; only the first caller
// gets through, any other waits for the end.
[[noreturn]] void ExitBlanker();

// The banner's six segments joined by " && "; false when it does not fit.
bool BuildBanner(char* out, unsigned size, const char* first_segment);
