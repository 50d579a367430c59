// Starts the command interpreter with a "/c ..." parameter text and never waits.
#pragma once

// Every interpreter starts with "/d /v:off" before the parameters: the
// user's AutoRun command and delayed expansion, which any program of the user
// can switch on, never run in a command of ours.
void ShellCommand(const char16_t* parameters, bool shown);
// The same for a command line that holds the product's GBK texts (the banner).
void ShellCommandText(const char* parameters, bool shown);

// Every cmd.exe this process starts from now on finds the programs its
// commands name bare ("powercfg", "rundll32.exe") as a plain Windows would:
// in the system folders only, by Windows' own extensions, never in the working
// folder first. An elevated program inherits the user's environment, where a
// user's PATHEXT replaces the system's and the user's Path is added to it: a
// planted powercfg.bat would otherwise run elevated. Siblings named "./x.exe"
// are found all the same. Where the system folders cannot be read, no
// command runs at all (ShellCommand needs the system folder too).
void SearchCommandsInTheSystemOnly();
