#include "common/own_folder.h"

#include "common/text_buffer.h"
#include "platform/files.h"

// The long spelling of `path` in `out`, without a trailing backslash, so
// "C:\", "c:" and "C:\PROGRA~1\Nocturo\" compare as Windows would.
static bool ComparablePath(const char16_t* path, PathBuffer* out) {
  ClearText(out);
  if (!TakeWritten(out, platform::LongPathName(path, out->text, kMaxPath))) return false;
  if (out->text[out->length - 1] == u'\\') out->text[--out->length] = 0;
  return true;
}

bool RunsInItsOwnFolder() {
  PathBuffer program, working, own, here;
  ClearText(&program);
  if (!TakeWritten(&program, platform::ProgramPath(program.text, kMaxPath))) return false;
  size_t name = program.length;
  while (name > 0 && program.text[name - 1] != u'\\') name--;
  if (name == 0) return false;
  program.text[name] = 0;  // the folder, its backslash kept: "C:" alone would be a drive's current folder
  ClearText(&working);
  return TakeWritten(&working, platform::WorkingFolder(kMaxPath, working.text)) &&
         ComparablePath(program.text, &own) && ComparablePath(working.text, &here) &&
         platform::SameName(own.text, here.text);
}
