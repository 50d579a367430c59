#include "probe/probe.h"

int main() { return ProbeMain(); }
