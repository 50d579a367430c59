// The Wine tests' hands and eyes; never shipped. One verb a run:
//   wait-process NAME appear|vanish MS   exact image name; exit 0 when seen
//   count-process NAME                   prints how many run (exact name)
//   wait-window CLASS TITLE MS           prints "visible V width W height H min MW MH",
//                                        MW and MH the system's smallest window size
//   post|send CLASS TITLE MSG WPARAM LPARAM
//   broadcast-registered NAME            posts a registered message to all top-level windows
//   key VK                               injects a key press with SendInput
//   move X Y                             moves the cursor
//   cursor                               prints "X Y"
//   pixel X Y                            prints the screen colour as RRGGBB
//   link PATH                            prints a shell link's target and working directory
//   proc-stats NAME                      prints "cpu_ms C threads T handles H working_set_kb W"
//   run DIR COMMAND                      runs COMMAND in DIR, returns its exit code
#include <windows.h>
#include <winternl.h>
#include <psapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// Walks a snapshot for processes named exactly `name`: how many there are, and
// the id and thread count of the first.
static int WalkProcesses(const char* name, DWORD* first_id, DWORD* threads) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry;
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (strcmp(entry.szExeFile, name) != 0) continue;
    if (count++ == 0) {
      if (first_id) *first_id = entry.th32ProcessID;
      if (threads) *threads = entry.cntThreads;
    }
  }
  CloseHandle(snapshot);
  return count;
}

static DWORD FindProcess(const char* name, DWORD* threads) {
  DWORD id = 0;
  WalkProcesses(name, &id, threads);
  return id;
}

static int CountProcess(const char* name) { return WalkProcesses(name, nullptr, nullptr); }

static int WaitProcess(const char* name, bool appear, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if ((FindProcess(name, nullptr) != 0) == appear) return 0;
    if (GetTickCount() - start > ms) return 1;
    Sleep(50);
  }
}

static HWND WaitWindow(const char* cls, const char* title, DWORD ms) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(cls, title);
    if (window || GetTickCount() - start > ms) return window;
    Sleep(50);
  }
}

static int Key(WORD vk) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = vk;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, input, sizeof(INPUT)) == 2 ? 0 : 1;
}

static int Link(const char* path) {
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return 1;
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH);
  int result = 1;
  if (file && SUCCEEDED(file->Load(wide, STGM_READ))) {
    char target[MAX_PATH] = {}, dir[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetWorkingDirectory(dir, MAX_PATH);
    printf("target %s\nworkdir %s\n", target, dir);
    result = 0;
  }
  if (file) file->Release();
  link->Release();
  return result;
}

// The process's handles, from the system's handle table: Wine's
// GetProcessHandleCount answers 0.
static unsigned long CountHandles(DWORD pid) {
  struct Entry {
    ULONG pid;
    UCHAR type, flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  const SYSTEM_INFORMATION_CLASS kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
  ULONG size = 1 << 16;
  void* buffer = malloc(size);
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer, size, nullptr)) ==
         static_cast<NTSTATUS>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
    size *= 2;
    buffer = realloc(buffer, size);
  }
  unsigned long count = 0;
  const Table* table = static_cast<const Table*>(buffer);
  if (status == 0)
    for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].pid == pid;
  free(buffer);
  return count;
}

static int ProcStats(const char* name) {
  DWORD threads = 0;
  DWORD pid = FindProcess(name, &threads);
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
  if (!process) return 1;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  ULONGLONG cpu = (static_cast<ULONGLONG>(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
                  (static_cast<ULONGLONG>(user.dwHighDateTime) << 32 | user.dwLowDateTime);
  unsigned long handles = CountHandles(pid);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  printf("cpu_ms %lu threads %lu handles %lu working_set_kb %lu\n",
         static_cast<unsigned long>(cpu / 10000), static_cast<unsigned long>(threads),
         handles, static_cast<unsigned long>(memory.WorkingSetSize / 1024));
  CloseHandle(process);
  return 0;
}

static int Run(const char* dir, const char* command) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  char line[1024];
  snprintf(line, sizeof line, "%s", command);
  if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, dir, &startup, &info))
    return 255;
  WaitForSingleObject(info.hProcess, INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

static UINT Number(const char* text) { return static_cast<UINT>(strtoul(text, nullptr, 0)); }

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* verb = argv[1];
  int result = 2;
  if (!strcmp(verb, "wait-process") && argc == 5)
    result = WaitProcess(argv[2], !strcmp(argv[3], "appear"), Number(argv[4]));
  if (!strcmp(verb, "count-process") && argc == 3) {
    printf("%d\n", CountProcess(argv[2]));
    result = 0;
  }
  if (!strcmp(verb, "wait-window") && argc == 5) {
    HWND window = WaitWindow(argv[2], argv[3], Number(argv[4]));
    RECT r = {};
    if (window) GetWindowRect(window, &r);
    if (window)
      printf("visible %d width %ld height %ld min %d %d\n", IsWindowVisible(window) ? 1 : 0,
             r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXMINTRACK),
             GetSystemMetrics(SM_CYMINTRACK));
    result = window ? 0 : 1;
  }
  if ((!strcmp(verb, "post") || !strcmp(verb, "send")) && argc == 7) {
    HWND window = FindWindowA(argv[2], argv[3]);
    if (!window) return 1;
    if (!strcmp(verb, "post")) {
      result = PostMessageA(window, Number(argv[4]), Number(argv[5]), Number(argv[6])) ? 0 : 1;
    } else {
      printf("%ld\n", static_cast<long>(SendMessageA(window, Number(argv[4]), Number(argv[5]), Number(argv[6]))));
      result = 0;
    }
  }
  if (!strcmp(verb, "broadcast-registered") && argc == 3)
    result = PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(argv[2]), 0, 0) ? 0 : 1;
  if (!strcmp(verb, "key") && argc == 3) result = Key(static_cast<WORD>(Number(argv[2])));
  if (!strcmp(verb, "move") && argc == 4)
    result = SetCursorPos(atoi(argv[2]), atoi(argv[3])) ? 0 : 1;
  if (!strcmp(verb, "cursor")) {
    POINT p = {};
    GetCursorPos(&p);
    printf("%ld %ld\n", p.x, p.y);
    result = 0;
  }
  if (!strcmp(verb, "pixel") && argc == 4) {
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, atoi(argv[2]), atoi(argv[3]));
    ReleaseDC(nullptr, dc);
    printf("%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
    result = 0;
  }
  if (!strcmp(verb, "link") && argc == 3) result = Link(argv[2]);
  if (!strcmp(verb, "proc-stats") && argc == 3) result = ProcStats(argv[2]);
  if (!strcmp(verb, "run") && argc == 4) result = Run(argv[2], argv[3]);
  fflush(stdout);
  return result;
}
