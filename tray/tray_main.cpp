#include "platform/threads.h"
#include "tray/tray.h"

int main() { return TrayMain(platform::GetModuleHandleA(nullptr)); }
