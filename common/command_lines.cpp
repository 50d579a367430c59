#include "common/command_lines.h"

bool BuildCopyToStartup(PathBuffer* command, const char16_t* shortcut, const char16_t* startup_folder) {
  ClearText(command);
  AppendText(command, u"/c copy .\\");
  AppendText(command, shortcut);
  AppendText(command, u" \"");
  AppendText(command, startup_folder);
  AppendText(command, u"\" /y");
  return !command->overflow;
}
