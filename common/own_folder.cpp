#include "common/own_folder.h"

#include <cstring>

#include "common/text_buffer.h"
#include "platform/files.h"
#include "platform/processes.h"

// The long spelling of `path` in `out`, lower-cased and without a trailing
// backslash, so "C:\", "c:" and "C:\PROGRA~1\Nocturo\" compare as Windows would.
static bool ComparablePath(const char* path, char (&out)[kMaxPath]) {
  if (LostCharacters(path)) return false;
  uint32_t length = platform::GetLongPathNameA(path, out, sizeof out);
  if (length == 0 || length >= sizeof out || LostCharacters(out)) return false;
  if (out[length - 1] == '\\') out[--length] = '\0';
  platform::CharLowerBuffA(out, length);
  return true;
}

bool RunsInItsOwnFolder() {
  char program[kMaxPath] = {};
  uint32_t length = platform::GetModuleFileNameA(program, sizeof program);
  if (length == 0 || length >= sizeof program) return false;
  char* name = std::strrchr(program, '\\');
  if (!name) return false;
  name[1] = '\0';  // the folder, its backslash kept: "C:" alone would be a drive's current folder
  char working[kMaxPath] = {};
  length = platform::GetCurrentDirectoryA(sizeof working, working);
  if (length == 0 || length >= sizeof working) return false;
  char own[kMaxPath], here[kMaxPath];
  return ComparablePath(program, own) && ComparablePath(working, here) && std::strcmp(own, here) == 0;
}
