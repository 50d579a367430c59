// Starts the command interpreter with a "/c ..." parameter text and never waits.
#pragma once

void ShellCommand(const char* parameters, bool shown);
