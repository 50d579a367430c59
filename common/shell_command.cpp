#include "common/shell_command.h"

#include <initializer_list>

#include "common/text_buffer.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/win_values.h"

constexpr char16_t kNoAutoRun[] = u"/d /v:off ";

// The programs run elevated in a folder the user can write to, so a bare
// "cmd.exe" could be found there first; the system folder's copy is used.
static bool SystemCommandInterpreter(PathBuffer* path) {
  ClearText(path);
  return TakeWritten(path, platform::SystemFolder(path->text, kMaxPath)) &&
         AppendText(path, u"\\cmd.exe");
}

// Windows' own defaults, the system's part of Path built from the folders
// Windows reports (never from %SystemRoot%, which the user's profile can set).
constexpr char16_t kSystemExtensions[] = u".COM;.EXE;.BAT;.CMD;.VBS;.VBE;.JS;.JSE;.WSF;.WSH;.MSC";

void SearchCommandsInTheSystemOnly() {
  platform::SetEnvironment(u"NoDefaultCurrentDirectoryInExePath", u"1");
  platform::SetEnvironment(u"PATHEXT", kSystemExtensions);
  PathBuffer system, windows;
  ClearText(&system);
  ClearText(&windows);
  if (!TakeWritten(&system, platform::SystemFolder(system.text, kMaxPath)) ||
      !TakeWritten(&windows, platform::WindowsFolder(windows.text, kMaxPath)))
    return;
  char16_t path[3 * kMaxPath + 8];
  size_t length = 0;
  for (const char16_t* part : std::initializer_list<const char16_t*>{system.text, u";", windows.text, u";", system.text, u"\\Wbem"})
    for (const char16_t* c = part; *c; ++c) path[length++] = *c;
  path[length] = 0;
  platform::SetEnvironment(u"Path", path);
}

void ShellCommand(const char16_t* parameters, bool shown) {
  PathBuffer interpreter;
  if (!SystemCommandInterpreter(&interpreter)) return;
  // Room for the switches and any command that fits a MAX_PATH buffer.
  char16_t line[sizeof kNoAutoRun / sizeof kNoAutoRun[0] + kMaxPath];
  size_t length = 0;
  for (const char16_t* part : {kNoAutoRun, parameters})
    for (const char16_t* c = part; *c; ++c) {
      if (length + 1 == sizeof line / sizeof line[0]) return;
      line[length++] = *c;
    }
  line[length] = 0;
  platform::ShellRun(nullptr, u"open", interpreter.text, line, nullptr,
                     shown ? platform::kSwShowNormal : platform::kSwHide);
}

void ShellCommandText(const char* parameters, bool shown) {
  char16_t wide[kMaxPath];
  if (platform::WidenText(parameters, wide, kMaxPath)) ShellCommand(wide, shown);
}
