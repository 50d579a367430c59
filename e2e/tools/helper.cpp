// The Wine tests' hands and eyes; never shipped. One verb a run, from the
// table at the end; what it reports comes as key=value lines, and its exit
// code is 0 when it did what was asked. A wrong call prints the usage.
#include <windows.h>
#include <winternl.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "blanker/blanker.h"
#include "common/admin_only.h"
#include "common/logon_task.h"
#include "platform/tasks.h"
#include "platform/win32/descriptor.h"
#include "platform/win_values.h"

static UINT Number(const char* text) { return static_cast<UINT>(strtoul(text, nullptr, 0)); }
static int Signed(const char* text) { return static_cast<int>(strtol(text, nullptr, 0)); }
// A file time in milliseconds.
static ULONGLONG Ms(const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000; }

// The arguments as given, wide: a narrow argv loses what the code page lacks,
// and reads a look-alike in full-width letters as the name it imitates.
static wchar_t** g_wide_argv = nullptr;
// The verb's argument `index`, wide.
static const wchar_t* Wide(int index) { return g_wide_argv[2 + index]; }

// Walks a snapshot for processes named exactly `name` (wide, compared
// ordinally, as the programs compare): how many there are, and the id and
// thread count of the first; -1 when no snapshot can be taken, which is
// never "none runs". With `end`, ends each one instead.
static int WalkProcesses(const wchar_t* name, DWORD* first_id, DWORD* threads, bool end = false) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (CompareStringOrdinal(entry.szExeFile, -1, name, -1, FALSE) != CSTR_EQUAL) continue;
    if (count++ == 0) {
      if (first_id) *first_id = entry.th32ProcessID;
      if (threads) *threads = entry.cntThreads;
    }
    // Gone when this returns: a snapshot taken next must not list it.
    if (HANDLE process = end ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID) : nullptr) {
      TerminateProcess(process, 0);
      WaitForSingleObject(process, 5000);
      CloseHandle(process);
    }
  }
  CloseHandle(snapshot);
  return count;
}

static DWORD FindProcess(const wchar_t* name, DWORD* threads) {
  DWORD id = 0;
  WalkProcesses(name, &id, threads);
  return id;
}

// A failed snapshot ends the verb with 2: the test sees an error, not an answer.
static int WaitProcess(char** a) {
  bool appear = strcmp(a[1], "appear") == 0;
  for (DWORD start = GetTickCount();; Sleep(50)) {
    int count = WalkProcesses(Wide(0), nullptr, nullptr);
    if (count < 0) return 2;
    if ((count > 0) == appear) return 0;
    if (GetTickCount() - start > Number(a[2])) return 1;
  }
}

static int CountProcess(char**) {
  int count = WalkProcesses(Wide(0), nullptr, nullptr);
  printf("count=%d\n", count);
  return count < 0 ? 2 : 0;
}

static int EndProcess(char**) {
  int result = 0;
  for (wchar_t* name = wcstok(const_cast<wchar_t*>(Wide(0)), L","); name; name = wcstok(nullptr, L","))
    if (WalkProcesses(name, nullptr, nullptr, true) < 0) result = 2;
  return result;
}

// The minimum size is the system's smallest window, which a hidden window need not keep to.
static int WaitWindow(char** a) {
  HWND window;
  for (DWORD start = GetTickCount(); !(window = FindWindowA(a[0], a[1])); Sleep(50))
    if (GetTickCount() - start > Number(a[2])) return 1;
  RECT r = {};
  GetWindowRect(window, &r);
  printf("visible=%d\nwidth=%ld\nheight=%ld\nmin_width=%d\nmin_height=%d\nx=%ld\ny=%ld\n",
         IsWindowVisible(window) ? 1 : 0, r.right - r.left, r.bottom - r.top,
         GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK), r.left, r.top);
  return 0;
}

static int Post(char** a) {
  HWND window = FindWindowA(a[0], a[1]);
  return window && PostMessageA(window, Number(a[2]), Number(a[3]), Signed(a[4])) ? 0 : 1;
}

static int Send(char** a) {
  HWND window = FindWindowA(a[0], a[1]);
  if (!window) return 1;
  printf("result=%ld\n", static_cast<long>(SendMessageA(window, Number(a[2]), Number(a[3]), Signed(a[4]))));
  return 0;
}

static int BroadcastRegistered(char** a) {
  return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(a[0]), 0, 0) ? 0 : 1;
}

// "VK" or "VK+VK+...": each pressed in order, then released last first, as a
// hand plays a combination.
static int Key(char** a) {
  INPUT input[16] = {};
  UINT keys = 0;
  for (char* next = a[0]; *next && keys < 8; next += *next == '+') {
    input[keys].type = INPUT_KEYBOARD;
    input[keys++].ki.wVk = static_cast<WORD>(strtoul(next, &next, 0));
  }
  for (UINT i = 0; i < keys; ++i) {
    input[keys + i] = input[keys - 1 - i];
    input[keys + i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  return SendInput(2 * keys, input, sizeof(INPUT)) == 2 * keys ? 0 : 1;
}

static int Move(char** a) { return SetCursorPos(Signed(a[0]), Signed(a[1])) ? 0 : 1; }

// "key=value" with the value in UTF-8, whatever the code page.
static void PrintUtf8(const char* key, const wchar_t* value, int length = -1) {
  char utf8[4096] = {};
  WideCharToMultiByte(CP_UTF8, 0, value, length, utf8, sizeof utf8 - 1, nullptr, nullptr);
  printf("%s=%s\n", key, utf8);
}

static int Link(char**) {
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link))))
    return 1;
  IPersistFile* file = nullptr;
  link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  int result = 1;
  if (file && SUCCEEDED(file->Load(g_wide_argv[2], STGM_READ))) {
    wchar_t target[MAX_PATH] = {}, dir[MAX_PATH] = {};
    // The target as the shell resolves it, from the item list: Wine keeps the
    // link's other copy of the path in the ANSI code page only.
    LPITEMIDLIST items = nullptr;
    if (FAILED(link->GetIDList(&items)) || !items || !SHGetPathFromIDListW(items, target))
      link->GetPath(target, MAX_PATH, nullptr, 0);
    CoTaskMemFree(items);
    link->GetWorkingDirectory(dir, MAX_PATH);
    PrintUtf8("target", target);
    PrintUtf8("workdir", dir);
    result = 0;
  }
  if (file) file->Release();
  link->Release();
  return result;
}

// What a window shows as its text, a tooltip's among them.
static int WindowText(char** a) {
  HWND window = nullptr;
  for (DWORD start = GetTickCount();; Sleep(50)) {
    for (window = FindWindowExA(nullptr, nullptr, a[0], nullptr); window && !IsWindowVisible(window);)
      window = FindWindowExA(nullptr, window, a[0], nullptr);
    if (window) break;
    if (GetTickCount() - start > Number(a[1])) return 1;
  }
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  PrintUtf8("text", text);
  return 0;
}

// The program runs in a console of the helper's own; what that console shows
// after MS comes back line by line, then the program is ended.
// printf goes on to the helper's own output, which the runtime took at start.
static int Console(char** a) {
  FreeConsole();
  if (!AllocConsole()) return 1;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessA(nullptr, a[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return 1;
  Sleep(Number(a[1]));
  HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info = {};
  GetConsoleScreenBufferInfo(screen, &info);
  for (SHORT y = 0; y < info.dwCursorPosition.Y; ++y) {
    wchar_t line[512];
    DWORD length = 0;
    ReadConsoleOutputCharacterW(screen, line, info.dwSize.X < 512 ? info.dwSize.X : 512, COORD{0, y}, &length);
    while (length > 0 && line[length - 1] == L' ') length--;
    PrintUtf8("line", line, static_cast<int>(length));
  }
  TerminateProcess(process.hProcess, 0);
  return 0;
}

// The process's handles, from the system's handle table: Wine's
// GetProcessHandleCount answers 0.
static unsigned long CountHandles(DWORD pid) {
  ULONG size = 1 << 16;
  void* buffer = malloc(size);
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer, size, nullptr)) ==
         static_cast<NTSTATUS>(0xC0000004)) {  // STATUS_INFO_LENGTH_MISMATCH
    size *= 2;
    buffer = realloc(buffer, size);
  }
  unsigned long count = 0;
  const SYSTEM_HANDLE_INFORMATION* table = static_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer);
  if (status == 0)
    for (ULONG i = 0; i < table->Count; ++i) count += table->Handle[i].OwnerPid == pid;
  free(buffer);
  return count;
}

static int ProcStats(char**) {
  DWORD threads = 0;
  DWORD pid = FindProcess(Wide(0), &threads);
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
  if (!process) return 1;
  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  printf("cpu_ms=%lu\nthreads=%lu\nhandles=%lu\nworking_set_kb=%lu\n", static_cast<unsigned long>(Ms(kernel) + Ms(user)),
         static_cast<unsigned long>(threads), CountHandles(pid),
         static_cast<unsigned long>(memory.WorkingSetSize / 1024));
  CloseHandle(process);
  return 0;
}

// The notification's record lives in the receiver's memory, as the system
// puts it there; lParam is its address.
// Whether process `id` runs under that image name.
static bool Named(DWORD id, const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  bool named = false;
  for (BOOL more = snapshot != INVALID_HANDLE_VALUE && Process32FirstW(snapshot, &entry); more && !named;
       more = Process32NextW(snapshot, &entry))
    named = entry.th32ProcessID == id && CompareStringOrdinal(entry.szExeFile, -1, name, -1, FALSE) == CSTR_EQUAL;
  if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
  return named;
}

// The window is found first, then its process: a copy of that name still
// ending, without its window, may come first in a snapshot.
static int DisplayState(char** a) {
  DWORD pid = 0;
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, "RenderWindow", nullptr)))
    if (GetWindowThreadProcessId(window, &pid) && Named(pid, Wide(0))) break;
  HANDLE process = window ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid) : nullptr;
  if (!window || !process) return 1;
  struct {
    platform::Guid setting;
    DWORD length;
    DWORD data;
  } record = {platform::kGuidConsoleDisplayState, 4, Number(a[1])};
  void* remote = VirtualAllocEx(process, nullptr, sizeof record, MEM_COMMIT, PAGE_READWRITE);
  int result = 1;
  if (remote && WriteProcessMemory(process, remote, &record, sizeof record, nullptr)) {
    DWORD_PTR answer = 0;
    result = SendMessageTimeoutA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                 reinterpret_cast<LPARAM>(remote), SMTO_NORMAL, 10000, &answer)
                 ? 0 : 1;
  }
  // Freed only when delivered: a receiver still busy with it would read freed memory.
  if (remote && result == 0) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return result;
}

static FILE* g_broadcasts = nullptr;

static LRESULT CALLBACK WatchProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_MONITORPOWER) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);  // from 1601; the tests count from 1970
    fprintf(g_broadcasts, "%lld %ld\n", static_cast<long long>(Ms(now)) - 11644473600000LL, static_cast<long>(lparam));
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

static int WatchBroadcasts(char** a) {
  g_broadcasts = fopen(a[0], "ab");
  if (!g_broadcasts || !TopLevelWindow("NocWatch", WatchProc)) return 1;
  for (DWORD start = GetTickCount(); GetTickCount() - start < Number(a[1]);) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  fclose(g_broadcasts);
  return 0;
}

static int HungWindow(char** a) {
  if (!TopLevelWindow("NocHung", DefWindowProcA)) return 1;
  Sleep(Number(a[0]));
  return 0;
}

// Another program holding a hotkey for MS ms; its window comes once it holds it.
static int HoldHotkey(char** a) {
  if (!RegisterHotKey(nullptr, 1, Number(a[0]), Number(a[1])) || !TopLevelWindow("NocHotkey", DefWindowProcA))
    return 1;
  Sleep(Number(a[2]));
  return 0;
}

static int MonitorOff(char**) {
  DWORD start = GetTickCount();
  MonitorOffSender(nullptr);
  printf("ms=%lu\n", GetTickCount() - start);
  return 0;
}

static int Banner(char**) {
  char banner[MAX_PATH];
  if (!BuildBanner(banner, sizeof banner, kNocturoVariant.banner_first)) return 1;
  printf("banner=%s\n", banner);
  return 0;
}

static int Region(char** a) {
  HDC dc = GetDC(nullptr);
  unsigned long hash = 2166136261u;  // FNV-1a over the colours
  for (int j = 0; j < Signed(a[3]); ++j)
    for (int i = 0; i < Signed(a[2]); ++i) hash = (hash ^ GetPixel(dc, Signed(a[0]) + i, Signed(a[1]) + j)) * 16777619u;
  ReleaseDC(nullptr, dc);
  printf("checksum=%08lX\n", hash & 0xFFFFFFFFul);
  return 0;
}

static int ForgetIcon(char** a) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = sizeof icon;
  icon.hWnd = FindWindowA(a[0], a[1]);
  icon.uID = Number(a[2]);
  return icon.hWnd && Shell_NotifyIconA(NIM_DELETE, &icon) ? 0 : 1;
}

// The product's own task functions, as the tray and the daemon call them, in \\Nocturo.
static int TaskRegister(char**) {
  char16_t user[MAX_PATH], xml[kTaskXmlSize];
  const char16_t* name = reinterpret_cast<const char16_t*>(g_wide_argv[2]);
  const char16_t* folder = reinterpret_cast<const char16_t*>(g_wide_argv[3]);
  if (!platform::UserSid(user, MAX_PATH) || !BuildLogonTaskXml(kTrayTask, user, folder, xml, kTaskXmlSize)) return 1;
  long result = platform::RegisterTask(kTaskFolder, name, xml, kTaskSecurity);
  printf("result=%08lX\n", static_cast<unsigned long>(result));
  return result < 0 ? 1 : 0;
}

static int TaskDelete(char**) {
  long result = platform::DeleteTask(kTaskFolder, reinterpret_cast<const char16_t*>(g_wide_argv[2]));
  printf("result=%08lX\n", static_cast<unsigned long>(result));
  return result < 0 ? 1 : 0;
}

static int TaskFolderDelete(char**) {
  long result = platform::DeleteTaskFolder(kTaskFolder);
  printf("result=%08lX\n", static_cast<unsigned long>(result));
  return result < 0 ? 1 : 0;
}

static int CodePage(char**) {
  printf("acp=%u\n", GetACP());
  return 0;
}

// A Unix exit status keeps 8 bits of an exit code (1605 reads as 69): here it is whole.
static int ExitCode(char** a) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  if (!CreateProcessW(nullptr, g_wide_argv[2], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return 1;
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(process.hProcess, Number(a[1])) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
  else TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (code == STILL_ACTIVE) return 1;
  printf("code=%lu\n", code);
  return 0;
}

// Descriptors by path, as SDDL, from the table file of "admin-only".
static wchar_t g_paths[32][MAX_PATH], g_sddl[32][2048];
static int g_described = 0, g_unconverted = 0;

// An object of the table: described from its SDDL (an empty one cannot be
// read); one the table lacks is not there.
static int DescribeFromTable(const char16_t* path, uint32_t* attributes, platform::FileIdentity* identity,
                             platform::FileSecurity* security) {
  for (int i = 0; i < g_described; ++i) {
    if (CompareStringOrdinal(g_paths[i], -1, reinterpret_cast<const wchar_t*>(path), -1, TRUE) != CSTR_EQUAL) continue;
    *attributes = 0;
    *identity = {};
    identity->id[0] = static_cast<uint8_t>(i + 1);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!g_sddl[i][0]) return -1;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(g_sddl[i], SDDL_REVISION_1, &descriptor, nullptr)) {
      printf("unconverted=%ls (%lu)\n", g_sddl[i], GetLastError());
      g_unconverted++;
      return -1;
    }
    // Windows reads "D:NO_ACCESS_CONTROL" as no DACL at all (a FAT drive's);
    // Wine's reader makes an empty one, so the descriptor is made as Windows does.
    SECURITY_DESCRIPTOR no_dacl;
    PSID owner = nullptr;
    BOOL defaulted = FALSE, present = FALSE;
    PACL dacl = nullptr;
    bool described = true;
    if (wcsstr(g_sddl[i], L"D:NO_ACCESS_CONTROL") && GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) &&
        present && dacl) {
      printf("wine_made_an_empty_dacl=%d\n", i);
      described = InitializeSecurityDescriptor(&no_dacl, SECURITY_DESCRIPTOR_REVISION) &&
                  GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) &&
                  SetSecurityDescriptorOwner(&no_dacl, owner, FALSE) &&
                  SetSecurityDescriptorDacl(&no_dacl, TRUE, nullptr, FALSE);
    }
    described = described && platform::DescribeDescriptor(owner ? &no_dacl : descriptor, security);
    LocalFree(descriptor);
    return described ? 1 : -1;
  }
  return 0;
}

static int AdminOnly(char** a) {
  FILE* table = fopen(a[1], "r");
  char line[4096];
  while (table && g_described < 32 && fgets(line, sizeof line, table)) {
    line[strcspn(line, "\r\n")] = 0;
    char* tab = strchr(line, '\t');
    if (!tab) continue;
    *tab = 0;
    MultiByteToWideChar(CP_UTF8, 0, line, -1, g_paths[g_described], MAX_PATH);
    MultiByteToWideChar(CP_UTF8, 0, tab + 1, -1, g_sddl[g_described++], 2048);
  }
  if (table) fclose(table);
  bool yes = ResolvedFolderOnlyAdministratorsCanChange(reinterpret_cast<const char16_t*>(Wide(0)), {DescribeFromTable});
  printf("answer=%s\n", yes ? "yes" : "no");
  return g_unconverted || !table ? 1 : 0;
}

struct Verb {
  const char* name;
  int arguments;
  const char* usage;
  int (*run)(char** arguments);
};

static const Verb kVerbs[] = {
    {"wait-process", 3, "NAME appear|vanish MS   exact image name; 0 once seen so", WaitProcess},
    {"count-process", 1, "NAME                    count=", CountProcess},
    {"end-process", 1, "NAME[,NAME...]          ends every process of those exact names", EndProcess},
    {"wait-window", 3, "CLASS TITLE MS          visible= width= height= min_width= min_height= x= y=", WaitWindow},
    {"post", 5, "CLASS TITLE MSG WPARAM LPARAM", Post},
    {"send", 5, "CLASS TITLE MSG WPARAM LPARAM   result=", Send},
    {"broadcast-registered", 1, "NAME             posts a registered message to every top-level window",
     BroadcastRegistered},
    {"key", 1, "VK[+VK...]              keys pressed in order and released last first, with SendInput", Key},
    {"move", 2, "X Y                     moves the cursor", Move},
    {"link", 1, "PATH                    target= workdir= of a shell link", Link},
    {"window-text", 2, "CLASS MS         text= of the first visible window of that class", WindowText},
    {"console", 2, "COMMAND MS           line= for each line COMMAND shows in a console of its own in MS ms",
     Console},
    {"proc-stats", 1, "NAME                    cpu_ms= threads= handles= working_set_kb=", ProcStats},
    {"display-state", 2, "IMAGE STATE       the display state (0 off, 1 on, 2 dimmed) sent to the "
     "RenderWindow of that process, as Windows sends it", DisplayState},
    {"watch-broadcasts", 2, "FILE MS        a top-level window appending \"UNIX_MS LPARAM\" to FILE "
     "for each SC_MONITORPOWER, for MS ms", WatchBroadcasts},
    {"hold-hotkey", 3, "MODS VK MS          a top-level window holding that hotkey", HoldHotkey},
    {"hung-window", 1, "MS                  a top-level window whose thread never retrieves messages",
     HungWindow},
    {"monitor-off", 0, "                     the blanker's own display-off broadcast: ms=", MonitorOff},
    {"banner", 0, "                          banner= nocturo.exe's banner command, as it runs it", Banner},
    {"code-page", 0, "                     acp= the ANSI code page of this session's programs", CodePage},
    {"exit-code", 2, "COMMAND MS          code= the whole exit code of COMMAND, ended within MS ms", ExitCode},
    {"region", 4, "X Y W H                  checksum= of the screen's colours there", Region},
    {"task-register", 2, "NAME FOLDER       registers the tray's logon task for FOLDER as \\Nocturo\\NAME: result=",
     TaskRegister},
    {"task-delete", 1, "NAME                deletes \\Nocturo\\NAME: result=", TaskDelete},
    {"task-folder-delete", 0, "              every task in \\Nocturo, then the folder: result=", TaskFolderDelete},
    {"admin-only", 2, "FOLDER TABLE          answer= whether only administrators can change FOLDER, each "
     "object described by TABLE's \"PATH<tab>SDDL\" lines (none: not there)", AdminOnly},
    {"forget-icon", 3, "CLASS TITLE ID      deletes that window's notification-area icon, as a "
     "restarted shell has forgotten it", ForgetIcon},
};

int main(int argc, char** argv) {
  int wide_count = 0;
  g_wide_argv = CommandLineToArgvW(GetCommandLineW(), &wide_count);
  for (const Verb& verb : kVerbs)
    if (argc >= 2 && strcmp(argv[1], verb.name) == 0 && argc - 2 == verb.arguments) {
      int result = verb.run(argv + 2);
      fflush(stdout);
      return result;
    }
  fprintf(stderr, "usage: nochelper VERB ARGUMENTS, one of:\n");
  for (const Verb& verb : kVerbs) fprintf(stderr, "  %s %s\n", verb.name, verb.usage);
  return 2;
}
