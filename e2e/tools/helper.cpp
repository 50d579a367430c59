// The Wine tests' hands and eyes; never shipped. One verb a run:
//   wait-process NAME appear|vanish MS   exact image name; exit 0 when seen
//   count-process NAME                   prints how many run (exact name)
//   wait-window CLASS TITLE MS           prints "visible V width W height H min MW MH at X Y",
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
//   display-state IMAGE STATE            sends the display state (0 off, 1 on, 2 dimmed) to the
//                                        "RenderWindow" of the process named IMAGE, as Windows does
//   watch-broadcasts FILE MS             a top-level window that appends "UNIX_MS LPARAM" to FILE
//                                        for every SC_MONITORPOWER it receives, for MS ms
//   hung-window MS                       a top-level window whose thread never retrieves messages
//   monitor-off                          the blanker's own display-off broadcast; prints its ms
//   banner                               prints nocturo.exe's banner command, as it runs it
//   region X Y W H                       prints a checksum of the screen's colours there
//   forget-icon CLASS TITLE ID           deletes that window's notification-area icon, as a
//                                        restarted shell would have forgotten it
#include <windows.h>
#include <winternl.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "blanker/blanker.h"

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

struct FoundWindow {
  DWORD pid;
  HWND window;
};

static BOOL CALLBACK MatchRenderWindow(HWND window, LPARAM param) {
  FoundWindow* found = reinterpret_cast<FoundWindow*>(param);
  DWORD pid = 0;
  char cls[64] = {};
  GetWindowThreadProcessId(window, &pid);
  GetClassNameA(window, cls, sizeof cls);
  if (pid != found->pid || strcmp(cls, "RenderWindow") != 0) return TRUE;
  found->window = window;
  return FALSE;
}

// The notification's record lives in the receiver's memory, as the system
// puts it there; lParam is its address.
static int DisplayState(const char* image, DWORD state) {
  FoundWindow found = {FindProcess(image, nullptr), nullptr};
  if (!found.pid) return 1;
  EnumWindows(MatchRenderWindow, reinterpret_cast<LPARAM>(&found));
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, found.pid);
  if (!found.window || !process) return 1;
  struct {
    GUID setting;
    DWORD length;
    DWORD data;
  } record = {{0x6FE69556, 0x704A, 0x47A0, {0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47}}, 4, state};
  void* remote = VirtualAllocEx(process, nullptr, sizeof record, MEM_COMMIT, PAGE_READWRITE);
  int result = 1;
  if (remote && WriteProcessMemory(process, remote, &record, sizeof record, nullptr)) {
    DWORD_PTR answer = 0;
    result = SendMessageTimeoutA(found.window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                 reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000, &answer)
                 ? 0 : 1;
  }
  // Freed only when delivered: a receiver still busy with it would read freed memory.
  if (remote && result == 0) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return result;
}

static FILE* g_broadcasts = nullptr;

static LONGLONG UnixMs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return static_cast<LONGLONG>((static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime) /
                               10000) - 11644473600000LL;
}

static LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_MONITORPOWER) {
    fprintf(g_broadcasts, "%lld %ld\n", static_cast<long long>(UnixMs()), static_cast<long>(lparam));
    fflush(g_broadcasts);
    return 0;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

static HWND TopLevelWindow(const char* cls, WNDPROC proc) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = cls;
  RegisterClassA(&wc);
  return CreateWindowExA(0, cls, cls, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

static int WatchBroadcasts(const char* path, DWORD ms) {
  g_broadcasts = fopen(path, "ab");
  if (!g_broadcasts || !TopLevelWindow("NocWatch", WatchProc)) return 1;
  for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  fclose(g_broadcasts);
  return 0;
}

static int HungWindow(DWORD ms) {
  if (!TopLevelWindow("NocHung", DefWindowProcA)) return 1;
  Sleep(ms);
  return 0;
}

static int Region(int x, int y, int w, int h) {
  HDC dc = GetDC(nullptr);
  unsigned long hash = 2166136261u;  // FNV-1a over the colours
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) hash = (hash ^ GetPixel(dc, x + i, y + j)) * 16777619u;
  ReleaseDC(nullptr, dc);
  printf("%08lX\n", hash & 0xFFFFFFFFul);
  return 0;
}

static int ForgetIcon(const char* cls, const char* title, UINT id) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = FindWindowA(cls, title);
  icon.uID = id;
  return icon.hWnd && Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
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
      printf("visible %d width %ld height %ld min %d %d at %ld %ld\n", IsWindowVisible(window) ? 1 : 0,
             r.right - r.left, r.bottom - r.top, GetSystemMetrics(SM_CXMINTRACK),
             GetSystemMetrics(SM_CYMINTRACK), r.left, r.top);
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
  if (!strcmp(verb, "display-state") && argc == 4) result = DisplayState(argv[2], Number(argv[3]));
  if (!strcmp(verb, "watch-broadcasts") && argc == 4) result = WatchBroadcasts(argv[2], Number(argv[3]));
  if (!strcmp(verb, "hung-window") && argc == 3) result = HungWindow(Number(argv[2]));
  if (!strcmp(verb, "banner")) {
    char banner[MAX_PATH];
    result = BuildBanner(banner, sizeof banner, kNocturoVariant.banner_first) ? 0 : 1;
    if (result == 0) printf("%s\n", banner);
  }
  if (!strcmp(verb, "region") && argc == 6)
    result = Region(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
  if (!strcmp(verb, "forget-icon") && argc == 5) result = ForgetIcon(argv[2], argv[3], Number(argv[4]));
  if (!strcmp(verb, "monitor-off")) {
    DWORD start = GetTickCount();
    MonitorOffSender(nullptr);
    printf("%lu\n", GetTickCount() - start);
    result = 0;
  }
  fflush(stdout);
  return result;
}
