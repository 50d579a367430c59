// Starts the command interpreter with a "/c ..." parameter text and never waits.
#pragma once

void ShellCommand(const char* parameters, bool shown);

// Every cmd.exe this process starts from now on looks for the programs its
// commands name bare ("rundll32.exe") on the system path only, not in the
// working folder first. For the blankers, which may work in any folder; the
// tray and the daemon start their siblings as "./x.exe" and must not use it.
void NoCommandsFromTheWorkingFolder();
