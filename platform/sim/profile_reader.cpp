#include "platform/sim/profile_reader.h"

#include <cstdio>
#include <cstring>

namespace {

struct Span {
  const char* begin;
  const char* end;
};

// Ctrl-Z counts as white space: old editors ended text files with it.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == 0x1A; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

Span Trim(Span s) {
  while (s.begin < s.end && IsBlank(*s.begin)) s.begin++;
  while (s.end > s.begin && IsBlank(s.end[-1])) s.end--;
  return s;
}

bool SameName(Span s, const char* name) {
  Span n = Trim({name, name + std::strlen(name)});
  if (s.end - s.begin != n.end - n.begin) return false;
  for (const char *a = s.begin, *b = n.begin; a < s.end; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return true;
}

// Windows reads the value into a 30-character buffer, so at most 29 count;
// a value in matching quotes loses them; the number is read like
// RtlUnicodeStringToInteger with base 0 (0x, 0o, 0b prefixes; wraps on overflow).
int32_t ValueToInt(Span v, int32_t default_value) {
  if (v.end - v.begin > 29) v.end = v.begin + 29;
  if (v.end - v.begin >= 2 && (*v.begin == '"' || *v.begin == '\'') && v.end[-1] == *v.begin) {
    v.begin++;
    v.end--;
  }
  if (v.begin == v.end) return default_value;
  const char* p = v.begin;
  while (p < v.end && static_cast<unsigned char>(*p) <= ' ') p++;
  bool negative = false;
  if (p < v.end && (*p == '+' || *p == '-')) negative = *p++ == '-';
  unsigned base = 10;
  if (v.end - p >= 2 && p[0] == '0') {
    if (p[1] == 'x') base = 16;
    if (p[1] == 'o') base = 8;
    if (p[1] == 'b') base = 2;
    if (base != 10) p += 2;
  }
  uint32_t total = 0;
  for (; p < v.end; ++p) {
    char c = *p;
    unsigned digit = c >= '0' && c <= '9'   ? static_cast<unsigned>(c - '0')
                     : c >= 'a' && c <= 'z' ? static_cast<unsigned>(c - 'a' + 10)
                     : c >= 'A' && c <= 'Z' ? static_cast<unsigned>(c - 'A' + 10)
                                            : 99;
    if (digit >= base) break;
    total = total * base + digit;
  }
  return static_cast<int32_t>(negative ? 0u - total : total);
}

}  // namespace

int32_t ReadProfileInt(const char* text, size_t length, const char* section, const char* key,
                       int32_t default_value) {
  const char* p = text;
  const char* end = text + length;
  if (length >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
  bool in_section = false;
  while (p < end) {
    Span line = {p, p};
    while (line.end < end && *line.end != '\n' && *line.end != '\r') line.end++;
    p = line.end;
    while (p < end && (*p == '\n' || *p == '\r')) p++;
    line = Trim(line);
    if (line.begin == line.end) continue;
    if (*line.begin == '[') {
      const char* close = line.end;
      while (close > line.begin && close[-1] != ']') close--;
      if (close > line.begin) {
        // Only the first section of the name is searched.
        if (in_section) return default_value;
        Span name = Trim({line.begin + 1, close - 1});
        in_section = name.end > name.begin && SameName(name, section);
        continue;
      }
    }
    if (!in_section) continue;
    const char* equals = line.begin;
    while (equals < line.end && *equals != '=') equals++;
    Span name = Trim({line.begin, equals});
    if (!SameName(name, key)) continue;
    if (equals == line.end) return default_value;
    return ValueToInt(Trim({equals + 1, line.end}), default_value);
  }
  return default_value;
}

int32_t ReadProfileIntFile(const char* path, const char* section, const char* key,
                           int32_t default_value) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return default_value;
  static char buffer[64 * 1024];  // settings files are a few lines
  size_t length = std::fread(buffer, 1, sizeof buffer, f);
  std::fclose(f);
  return ReadProfileInt(buffer, length, section, key, default_value);
}
