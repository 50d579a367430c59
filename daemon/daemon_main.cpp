#include "common/dll_search.h"
#include "daemon/daemon.h"

int main() {
  LoadDllsFromSystemFolderOnly();
  return DaemonMain();
}
