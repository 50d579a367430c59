// Image names as the process snapshot reports them, wide: a look-alike
// ("ｎｏｃｔｕｒｏｔｒａｙ.exe", which a Western code page narrows to ours) is another name.
#pragma once
#include "common/text_buffer.h"

// Our ASCII name, wide; false for a name too long for any image.
inline bool WideName(const char* name, PathBuffer* wide) {
  ClearText(wide);
  return AppendAscii(wide, name);
}

// Equal character for character, letter case too.
inline bool SameExactly(const char16_t* a, const char16_t* b) {
  while (*a && *a == *b) a++, b++;
  return *a == *b;
}
