// Holds the host's INI reader against the real GetPrivateProfileIntA on a
// corpus of odd files. Prints each difference; the exit code counts them.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "platform/sim/profile_reader.h"

struct Case {
  const char* name;
  const char* bytes;
};

static const Case kCorpus[] = {
    {"empty file", ""},
    {"no section", "type=2\r\n"},
    {"section and key in other case", "[SETTING]\r\nTYPE=2\r\n"},
    {"key in mixed case", "[setting]\r\nTyPe=3\r\n"},
    {"duplicate keys", "[setting]\r\ntype=2\r\ntype=3\r\n"},
    {"duplicate sections, key in the second", "[setting]\r\nother=1\r\n[setting]\r\ntype=3\r\n"},
    {"duplicate sections, key in both", "[setting]\r\ntype=2\r\n[setting]\r\ntype=3\r\n"},
    {"other section first", "[other]\r\ntype=2\r\n[setting]\r\ntype=3\r\n"},
    {"blanks around =", "[setting]\r\ntype = 2\r\n"},
    {"blanks around the value", "[setting]\r\ntype=   3   \r\n"},
    {"plus sign", "[setting]\r\ntype=+5\r\n"},
    {"minus one", "[setting]\r\ntype=-1\r\n"},
    {"blanks then 7x", "[setting]\r\ntype=  7x\r\n"},
    {"hexadecimal", "[setting]\r\ntype=0x10\r\n"},
    {"hexadecimal upper X", "[setting]\r\ntype=0X10\r\n"},
    {"negative hexadecimal", "[setting]\r\ntype=-0x10\r\n"},
    {"binary prefix", "[setting]\r\ntype=0b101\r\n"},
    {"octal prefix", "[setting]\r\ntype=0o17\r\n"},
    {"letter first", "[setting]\r\ntype=x7\r\n"},
    {"too large", "[setting]\r\ntype=99999999999\r\n"},
    {"just past 32 bits", "[setting]\r\ntype=4294967297\r\n"},
    {"below the smallest int", "[setting]\r\ntype=-2147483649\r\n"},
    {"longer than 29 characters", "[setting]\r\ntype=000000000000000000000000000012345\r\n"},
    {"UTF-8 byte order mark", "\xEF\xBB\xBF[setting]\r\ntype=2\r\n"},
    {"tabs", "[setting]\r\n\ttype\t=\t3\t\r\n"},
    {"comment lines", "; comment\r\n[setting]\r\n;type=3\r\ntype=2\r\n"},
    {"CR-only line ends", "[setting]\rtype=2\r"},
    {"LF-only line ends", "[setting]\ntype=3\n"},
    {"no line end at all", "[setting]\r\ntype=3"},
    {"key line before any section", "type=3\r\n[setting]\r\nother=1\r\n"},
    {"value with trailing text", "[setting]\r\ntype=2 apples\r\n"},
    {"two numbers", "[setting]\r\ntype= 12 34\r\n"},
    {"empty value", "[setting]\r\ntype=\r\n"},
    {"key without =", "[setting]\r\ntype\r\n"},
    {"blanks inside the brackets", "[ setting ]\r\ntype=2\r\n"},
    {"text after the section", "[setting] ; note\r\ntype=2\r\n"},
    {"blanks before the section", "   [setting]\r\ntype=2\r\n"},
    {"no closing bracket", "[setting\r\ntype=2\r\n"},
    {"empty section name", "[]\r\ntype=2\r\n"},
    {"double quotes", "[setting]\r\ntype=\"3\"\r\n"},
    {"single quotes", "[setting]\r\ntype='2'\r\n"},
    {"one quote", "[setting]\r\ntype=\"3\r\n"},
    {"blank lines", "[setting]\r\n\r\n\r\ntype=1\r\n"},
    {"double equals", "[setting]\r\ntype==3\r\n"},
    {"empty key", "[setting]\r\n=3\r\ntype=2\r\n"},
    {"ctrl-Z at the end", "[setting]\r\ntype=2\x1a"},
    {"section after the key", "[setting]\r\ntype=3\r\n[setting2]\r\ntype=1\r\n"},
    {"prefix of the key", "[setting]\r\ntypes=3\r\ntyp=2\r\n"},
};

int main() {
  int differ = 0;
  int checks = 0;
  int index = 0;
  for (const Case& c : kCorpus) {
    char path[64];
    snprintf(path, sizeof path, ".\\case%02d.ini", ++index);
    FILE* f = fopen(path, "wb");
    if (!f) return 100;
    fwrite(c.bytes, 1, strlen(c.bytes), f);
    fclose(f);
    for (int default_value : {0, 77}) {
      ++checks;
      int windows = static_cast<int>(GetPrivateProfileIntA("setting", "type", default_value, path));
      int ours = ReadProfileInt(c.bytes, strlen(c.bytes), "setting", "type", default_value);
      if (windows != ours) {
        ++differ;
        printf("differs: %s (default %d): windows %d, ours %d\n", c.name, default_value, windows, ours);
      }
    }
  }
  printf("%d files, %d checks, %d differ\n", index, checks, differ);
  fflush(stdout);
  return differ;
}
