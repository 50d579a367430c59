// A stand-in for a system tool Wine lacks: prints its arguments and the
// program that started it, so a test sees that it ran, with what, from where,
// and where its output went; and adds a line to "<its name>.ran" in its
// working folder, so a test sees a run that has long ended.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>

// The image name of the process that started this one, or "?".
static void PrintParent() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more && !parent; more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  char name[MAX_PATH] = "?";
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (parent && entry.th32ProcessID == parent) lstrcpynA(name, entry.szExeFile, sizeof name);
  printf(" from %s", name);
  CloseHandle(snapshot);
}

static void LeaveMark() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH - 4);
  const char* name = path + length;
  while (name > path && name[-1] != '\\') --name;
  char mark[MAX_PATH];
  wsprintfA(mark, "%s.ran", name);
  if (FILE* file = fopen(mark, "ab")) {
    fputs("ran\n", file);
    fclose(file);
  }
}

int main(int argc, char** argv) {
  LeaveMark();
  printf("[stand-in");
  for (int i = 1; i < argc; ++i) printf(" %s", argv[i]);
  PrintParent();
  printf("]\n");
  return 0;
}
