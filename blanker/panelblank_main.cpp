#include "blanker/blanker.h"

int main() { return BlankerMain(kPanelBlankVariant); }
