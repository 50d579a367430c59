// Texts between the encodings: the programs' GBK texts, the wide paths of the
// seam, and UTF-8 for the host's files and the trace.
#include "platform/text.h"

#include <iconv.h>

#include <cstring>
#include <string>

#include "platform/sim/state.h"

namespace sim {

bool Recode(const std::string& in, const char* to, const char* from, std::string* out) {
  iconv_t convert = iconv_open(to, from);
  if (convert == reinterpret_cast<iconv_t>(-1)) return false;
  out->assign(in.size() * 4 + 4, '\0');
  char* source = const_cast<char*>(in.data());
  size_t source_left = in.size();
  char* target = &(*out)[0];
  size_t target_left = out->size();
  size_t done = iconv(convert, &source, &source_left, &target, &target_left);
  iconv_close(convert);
  out->resize(out->size() - target_left);
  return done != static_cast<size_t>(-1);
}

std::string Utf8FromGbk(const std::string& gbk) {
  std::string utf8;
  return Recode(gbk, "UTF-8", "GBK", &utf8) ? utf8 : "(not GBK: " + gbk + ")";
}

std::string Utf8(const char16_t* text) {
  if (!text) return "null";
  size_t length = 0;
  while (text[length]) length++;
  std::string utf8;
  Recode(std::string(reinterpret_cast<const char*>(text), length * 2), "UTF-8", "UTF-16LE", &utf8);
  return utf8;
}

std::u16string Utf16(const std::string& utf8) {
  std::string bytes;
  Recode(utf8, "UTF-16LE", "UTF-8", &bytes);
  return std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
}

uint32_t GiveText(const std::u16string& text, char16_t* buffer, uint32_t size) {
  if (text.size() + 1 > size) return static_cast<uint32_t>(text.size() + 1);
  std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(char16_t));
  return static_cast<uint32_t>(text.size());
}

}  // namespace sim

namespace platform {

bool WidenText(const char* text, char16_t* out, uint32_t size) {
  std::string bytes;
  bool ok = sim::Recode(text, "UTF-16LE", "GBK", &bytes) && bytes.size() / 2 < size;
  if (ok) sim::GiveText(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2), out, size);
  else if (size) out[0] = 0;
  return ok;
}

}  // namespace platform
