// Paths and command lines: zero-filled buffers of MAX_PATH bytes, built by
// appending. A text that does not fit is never used cut short: the buffer
// remembers the overflow and its user skips the operation.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kMaxPath = 260;

struct TextBuffer {
  char text[kMaxPath];
  size_t length;
  bool overflow;
};

void ClearText(TextBuffer* buffer);
// Appends the whole of `text`, or nothing and marks the overflow.
bool AppendText(TextBuffer* buffer, const char* text);
bool AppendDecimal(TextBuffer* buffer, int32_t value);

// The narrow calls turn a character outside the ANSI code page into '?',
// which no Windows path can hold: such a path names nothing, or something else.
bool LostCharacters(const char* path);
