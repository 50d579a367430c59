// The tray and the daemon start their siblings, and read and write their
// files, in the working folder. A logon link can name any working folder and
// lies in the user's own Startup folder, so anything the user runs can point
// it at a folder of planted programs: they then run with our rights. Only the
// folder that holds the program (one only administrators write) will do.
#pragma once

// True when the working folder is the program's own folder: the same volume
// and file id, as Windows says when it opens both, whatever the spelling
// (short names, letter case, a junction on the way). False when either cannot
// be opened or has no id, or its path does not fit its buffer. Then the
// working folder is set to the folder's final path, with no junction left in
// its spelling; false when that fails.
bool RunsInItsOwnFolder();
