#include "common/text_buffer.h"

#include <cstring>

void ClearText(TextBuffer* buffer) { std::memset(buffer, 0, sizeof *buffer); }

bool AppendText(TextBuffer* buffer, const char* text) {
  size_t add = std::strlen(text);
  if (buffer->overflow || add >= sizeof buffer->text - buffer->length) {
    buffer->overflow = true;
    return false;
  }
  std::memcpy(buffer->text + buffer->length, text, add + 1);
  buffer->length += add;
  return true;
}

bool LostCharacters(const char* path) { return std::strchr(path, '?') != nullptr; }

bool AppendDecimal(TextBuffer* buffer, int32_t value) {
  char digits[12];
  char* p = digits + sizeof digits;
  *--p = '\0';
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  return AppendText(buffer, p);
}
