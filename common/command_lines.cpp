#include "common/command_lines.h"

bool BuildCopyToStartup(TextBuffer* command, const char* shortcut, const char* startup_folder) {
  ClearText(command);
  AppendText(command, "/c copy .\\");
  AppendText(command, shortcut);
  AppendText(command, " \"");
  AppendText(command, startup_folder);
  AppendText(command, "\" /y");
  return !command->overflow;
}
