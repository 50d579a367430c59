// Starts the command interpreter with a "/c ..." parameter text and never waits.
#pragma once

// Every interpreter starts with "/d /v:off" before the parameters: the
// user's AutoRun command and delayed expansion, which any program of the user
// can switch on, never run in a command of ours.
void ShellCommand(const char16_t* parameters, bool shown);
// The same for a command line that holds the product's GBK texts (the banner).
void ShellCommandText(const char* parameters, bool shown);

// Every cmd.exe this process starts from now on looks for the programs its
// commands name bare ("powercfg", "rundll32.exe") on the system path only,
// not in the working folder first: a planted powercfg.bat beside a copy of
// the suite would otherwise run elevated. Siblings named "./x.exe" are found
// all the same.
void NoCommandsFromTheWorkingFolder();
