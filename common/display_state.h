// The display-state watcher: a hidden "RenderWindow" registered for the
// console display state, whose procedure keeps DisplayOn. The notifications
// arrive only while the window's thread waits in one of the message loops.
#pragma once
#include <atomic>
#include <cstdint>

#include "platform/types.h"
#include "platform/win_values.h"

// 1 while the display was last reported on or dimmed, 0 while off. Each
// program's entry sets its starting value before any thread runs: 0 in the
// blankers, 1 in the daemon (without notifications it counts the display on).
extern std::atomic<int32_t> DisplayOn;

constexpr char kDisplayStateClass[] = "RenderWindow";
constexpr char kBlankerWindowTitle[] = "Nocturo";
constexpr char kDaemonWindowTitle[] = "NocturoDaemon";

intptr_t PLATFORM_CALLBACK DisplayStateWindowProc(platform::Handle window, uint32_t message,
                                                  uintptr_t wparam, intptr_t lparam);

// With DisplayStateWindowProc: the blankers' and the daemon's window.
platform::Handle CreateDisplayStateWindow(const char* title);
// The window with a procedure of the caller's; the probe takes the wide form.
platform::Handle CreateDisplayStateWindowA(const char* title, platform::WindowProc proc);
platform::Handle CreateDisplayStateWindowWide(const char16_t* title, platform::WindowProc proc);
// Registers for the console display state; the handle is kept only by the probe.
platform::Handle RegisterDisplayState(platform::Handle window);

// The daemon's pump thread: window "NocturoDaemon", registration, loop.
void* DisplayStatePumpThread(void* unused);
