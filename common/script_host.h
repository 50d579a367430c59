// Whether a .vbs the shell opens at logon would run: Windows is turning
// VBScript into a feature a PC may lack, and there a launcher link only shows
// an error at every logon.
#pragma once

// The VBScript engine of the shell's own width is there, .vbs files are
// associated, and Windows Script Host is not switched off by policy (machine
// or user).
bool VbscriptRuns();
