#include "common/text_buffer.h"

#include <cstring>

template <typename Char>
void ClearText(TextOf<Char>* buffer) {
  std::memset(buffer, 0, sizeof *buffer);
}

template <typename Char>
bool AppendText(TextOf<Char>* buffer, const Char* text) {
  size_t add = 0;
  while (text[add]) add++;
  if (buffer->overflow || add >= kMaxPath - buffer->length) {
    buffer->overflow = true;
    return false;
  }
  std::memcpy(buffer->text + buffer->length, text, (add + 1) * sizeof(Char));
  buffer->length += add;
  return true;
}

template <typename Char>
bool TakeWritten(TextOf<Char>* buffer, uint32_t written) {
  buffer->text[kMaxPath - 1] = 0;
  if (written == 0 || written >= kMaxPath) buffer->overflow = true;
  else buffer->length = written;
  return !buffer->overflow;
}

template void ClearText(TextBuffer*);
template void ClearText(PathBuffer*);
template bool AppendText(TextBuffer*, const char*);
template bool AppendText(PathBuffer*, const char16_t*);
template bool TakeWritten(PathBuffer*, uint32_t);

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

bool AppendAscii(PathBuffer* buffer, const char* text) {
  char16_t wide[kMaxPath];
  size_t length = 0;
  while (text[length] && length + 1 < kMaxPath) wide[length] = static_cast<char16_t>(text[length]), length++;
  wide[length] = 0;
  if (text[length]) buffer->overflow = true;
  return AppendText(buffer, wide);
}

static bool Starts(const char16_t* text, const char16_t* prefix) {
  while (*prefix)
    if (*text++ != *prefix++) return false;
  return true;
}

bool PlainPathFromFinal(const char16_t* final_path, PathBuffer* out) {
  ClearText(out);
  const char16_t* p = final_path;
  bool letter = Starts(p, u"\\\\?\\") && ((p[4] >= u'A' && p[4] <= u'Z') || (p[4] >= u'a' && p[4] <= u'z')) &&
                p[5] == u':' && p[6] == u'\\';
  if (letter) {
    AppendText(out, p + 4);
  } else if (Starts(p, u"\\\\?\\UNC\\") && p[8]) {
    AppendText(out, u"\\\\");
    AppendText(out, p + 8);
  } else {
    return false;
  }
  if (out->length > 3 && out->text[out->length - 1] == u'\\') out->text[--out->length] = 0;
  return !out->overflow;
}
