// An empty program that only blocks input: the floor for a refusing blanker,
// which must block input before it looks for the tray.
#include <windows.h>

int main() { return BlockInput(TRUE) ? 0 : 0; }
