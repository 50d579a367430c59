#include "blanker/blanker.h"
#include "common/dll_search.h"

int main() {
  LoadDllsFromSystemFolderOnly();
  return BlankerMain(kNocturoVariant);
}
