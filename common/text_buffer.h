// Texts, paths and command lines: zero-filled buffers of MAX_PATH characters,
// built by appending. A text that does not fit is never used cut short: the
// buffer remembers the overflow and its user skips the operation.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kMaxPath = 260;

template <typename Char>
struct TextOf {
  Char text[kMaxPath];
  size_t length;
  bool overflow;
};
// The product's own texts, GBK bytes.
using TextBuffer = TextOf<char>;
// Paths, and the command lines that hold them: UTF-16 from the call that
// yields them to the call that uses them, so no character is ever lost.
using PathBuffer = TextOf<char16_t>;

template <typename Char>
void ClearText(TextOf<Char>* buffer);
// Appends the whole of `text`, or nothing and marks the overflow.
template <typename Char>
bool AppendText(TextOf<Char>* buffer, const Char* text);
// Takes what a call wrote into the buffer: its length, or the overflow when
// it did not fit (`written` 0, or the size it would have needed).
template <typename Char>
bool TakeWritten(TextOf<Char>* buffer, uint32_t written);
bool AppendDecimal(TextBuffer* buffer, int32_t value);
// An ASCII name (a file's, a program's) appended to a path, as AppendText.
bool AppendAscii(PathBuffer* buffer, const char* text);
// A final path as Windows gives it ("\\?\C:\..." or "\\?\UNC\server\...") in
// the form a working folder or a command takes ("C:\..." or "\\server\..."),
// without a trailing backslash but a root's. False for any other form, or
// when it does not fit.
bool PlainPathFromFinal(const char16_t* final_path, PathBuffer* out);
