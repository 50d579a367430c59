#include "common/own_folder.h"

#include <cstring>

#include "common/text_buffer.h"
#include "platform/files.h"
#include "platform/security.h"

// The same volume and the same id, and an id at all: some network servers give none.
static bool SameFolder(const platform::FileIdentity& a, const platform::FileIdentity& b) {
  static const uint8_t kNone[sizeof a.id] = {};
  return a.volume == b.volume && std::memcmp(a.id, b.id, sizeof a.id) == 0 && std::memcmp(a.id, kNone, sizeof a.id) != 0;
}

bool RunsInItsOwnFolder() {
  PathBuffer program, working, final_path;
  ClearText(&program);
  if (!TakeWritten(&program, platform::ProgramPath(program.text, kMaxPath))) return false;
  size_t name = program.length;
  while (name > 0 && program.text[name - 1] != u'\\') name--;
  if (name == 0) return false;
  program.text[name] = 0;  // the folder, its backslash kept: "C:" alone would be a drive's current folder
  ClearText(&working);
  ClearText(&final_path);
  platform::FileIdentity own, here;
  if (!TakeWritten(&working, platform::WorkingFolder(kMaxPath, working.text)) ||
      !platform::OpenedIdentity(program.text, &own) ||
      !platform::OpenedIdentity(working.text, &here, final_path.text, kMaxPath) || !SameFolder(own, here))
    return false;
  // From here on the folder is named as it really is: a junction on the way
  // could be pointed elsewhere between a check of a sibling and its start.
  PathBuffer plain;
  return PlainPathFromFinal(final_path.text, &plain) && platform::SetWorkingFolder(plain.text);
}
