#include "common/shell_command.h"

#include "common/text_buffer.h"
#include "platform/shell.h"
#include "platform/win_values.h"


// The programs run elevated in a folder the user can write to, so a bare
// "cmd.exe" could be found there first; the system folder's copy is used.
static bool SystemCommandInterpreter(TextBuffer* path) {
  ClearText(path);
  uint32_t length = platform::GetSystemDirectoryA(path->text, sizeof path->text);
  if (length == 0 || length >= sizeof path->text) return false;
  path->length = length;
  return AppendText(path, "\\cmd.exe");
}

void NoCommandsFromTheWorkingFolder() {
  platform::SetEnvironmentVariableA("NoDefaultCurrentDirectoryInExePath", "1");
}

void ShellCommand(const char* parameters, bool shown) {
  TextBuffer interpreter;
  if (!SystemCommandInterpreter(&interpreter)) return;
  platform::ShellExecuteA(nullptr, "open", interpreter.text, parameters, nullptr,
                          shown ? platform::kSwShowNormal : platform::kSwHide);
}
