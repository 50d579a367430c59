#include "common/dll_search.h"
#include "platform/threads.h"
#include "tray/tray.h"

int main() {
  LoadDllsFromSystemFolderOnly();
  return TrayMain(platform::GetModuleHandleA(nullptr));
}
