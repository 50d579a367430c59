// A stand-in for a system tool Wine lacks: prints its arguments, so a test
// sees that it ran, with what, and where its output went.
#include <cstdio>

int main(int argc, char** argv) {
  printf("[stand-in");
  for (int i = 1; i < argc; ++i) printf(" %s", argv[i]);
  printf("]\n");
  return 0;
}
