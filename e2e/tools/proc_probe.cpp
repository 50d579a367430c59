// Runs the suite's process and command helpers on real processes:
//   proc_probe count|find|terminate NAME
//   proc_probe shell hidden|shown PARAMETERS
#include <cstdio>
#include <cstring>

#include "common/process_names.h"
#include "common/shell_command.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const char* verb = argv[1];
  if (strcmp(verb, "count") == 0) printf("count %ld\n", static_cast<long>(CountProcessesByName(argv[2], ProcessScope::Machine)));
  if (strcmp(verb, "find") == 0) printf("find %lu\n", static_cast<unsigned long>(FindProcessIdByName(argv[2], ProcessScope::Machine)));
  if (strcmp(verb, "terminate") == 0) {
    fflush(stdout);
    long result = TerminateProcessesByName(argv[2]);
    printf("terminate %ld\n", result);
  }
  if (strcmp(verb, "shell") == 0 && argc >= 4) {
    ShellCommandText(argv[3], strcmp(argv[2], "shown") == 0);
    printf("shell returned\n");
  }
  fflush(stdout);
  return 0;
}
