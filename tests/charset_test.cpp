// The product's texts are GBK in the programs and reach Windows as their
// characters: each decodes from code page 936 to what the user must read.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "blanker/blanker.h"
#include "common/text_buffer.h"
#include "common/texts.h"
#include "probe/probe.h"
#include "tests/blanker_world.h"
#include "tests/tray_world.h"
#include "version.h"

namespace {

TEST(Charset, NarrowLiteralsAreGbk) {
  const std::string lock_screen = "锁屏版";
  EXPECT_EQ(lock_screen, std::string("\xCB\xF8\xC6\xC1\xB0\xE6"));
}

TEST(Charset, EveryTextHandedToWindowsReadsAsItsCharacters) {
  sim::World tray = TrayWorld("2");
  Click(tray, 1000, kRightDown);
  sim::World probe;
  probe.Display(100, 0);
  sim::World blanker = NocturoWorld("1");
  blanker.image_name = "panelblank.exe";
  blanker.Process("nocturotray.exe");
  const sim::Run tray_run = sim::RunProgram(RunTray, tray, 2000);
  const sim::Run probe_run = sim::RunProgram(ProbeMain, probe, 1000);
  const sim::Run blanker_run = sim::RunProgram(RunPanelBlank, blanker, 1000);
  struct Row {
    const char* what;
    const sim::Run& run;
    std::string text;  // GBK as the program hands it over, UTF-8 for the wide calls
    std::string expected;
  };
  auto line = [](const sim::Run& r, const std::string& needle) {
    for (const sim::TraceLine& l : r.lines)
      if (l.text.find(needle) != std::string::npos) return l.text;
    return std::string("(no line with " + needle + ")");
  };
  const Row rows[] = {
      {"the tooltip", tray_run, sim::Utf8FromGbk(line(tray_run, "NIM_ADD")), u8"tip \"Nocturo锁屏版\""},
      {"the menu", tray_run, sim::Utf8FromGbk(line(tray_run, "TrackPopupMenu")),
       u8"普通版=201 锁屏版=202 增强版=203 ---- 开机启动>[是=206 否=207] 鼠标左键>[普通版=209 锁屏版=210 "
       u8"增强版=211 版本列表=212] 快捷键>[无=213/8 Ctrl+Alt+B=214 Ctrl+Alt+M=215 Ctrl+Shift+F12=216] ---- 退出=208"},
      {"the probe's report", probe_run, sim::Utf8FromGbk(probe_run.output),
       u8"本工具只关闭显示器，电脑仍在运行\n官方下载地址 nocturo.example.com\n"
       u8"若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键\n"
       u8"未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版\n\n睡眠模式检测\n"},
      {"the banner", blanker_run, line(blanker_run, "/c echo"),
       u8"\"/d /v:off /c echo Nocturo v" NOCTURO_VERSION "-tp1.0 托盘版 && echo 本工具只关闭显示器，电脑仍在运行 && "
       u8"echo 官方下载地址 nocturo.example.com && echo 若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键 && "
       u8"c:\\Windows\\System32\\ping 127.0.0.1 -n 3 >nul && cls\" null 1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_NE(row.text.find(row.expected), std::string::npos) << "expected " << row.expected << "\nin " << row.text;
  }
}

// Windows' own table for code page 936, as Wine ships it (made from the
// tables Microsoft publishes): glibc's CP936, which the compiler encodes
// with, reads a few byte pairs otherwise.
struct Table936 {
  std::vector<uint16_t> words;
  const uint16_t* single = nullptr;  // a byte's character
  const uint16_t* offsets = nullptr; // a lead byte's sub-table, or 0
  uint16_t unknown = 0, unknown_bytes = 0;

  explicit Table936(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    words.assign(reinterpret_cast<const uint16_t*>(bytes.data()),
                 reinterpret_cast<const uint16_t*>(bytes.data() + bytes.size() / 2 * 2));
    if (words.size() < 1000 || words[1] != 936) return;
    unknown = words[4];
    unknown_bytes = words[6];
    const uint16_t* at = words.data() + words[0];  // past the header: the offset of the other direction's table
    single = ++at;
    at += 256;
    if (*at++) at += 256;  // glyphs
    if (*at) offsets = at + 1;
  }

  // As MultiByteToWideChar(936, MB_ERR_INVALID_CHARS): false at a byte or pair that is no character.
  bool Decode(const std::string& text, std::u16string* out) const {
    out->clear();
    for (size_t i = 0; i < text.size(); ++i) {
      uint8_t b = static_cast<uint8_t>(text[i]);
      uint16_t lead = offsets ? offsets[b] : 0;
      if (lead && i + 1 == text.size()) return false;
      uint16_t code = lead ? static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(text[i + 1])) : b;
      char16_t c = lead ? offsets[lead + static_cast<uint8_t>(text[++i])] : single[b];
      if (c == unknown && code != unknown_bytes) return false;
      out->push_back(c);
    }
    return true;
  }
};

TEST(Charset, EveryTextReadsAsItsCharactersInWindowsOwnTableAndFitsItsRoom) {
  const Table936 table("/usr/share/wine/nls/c_936.nls");
  ASSERT_NE(table.single, nullptr) << "no c_936.nls: scripts/install-deps.sh installs Wine";
  std::vector<ProductText> texts(kProductTexts, kProductTexts + kProductTextCount);
  // The banners are command lines, with a path's room; their lines are the table's.
  char banners[2][kMaxPath];
  ASSERT_TRUE(BuildBanner(banners[0], kMaxPath, kNocturoVariant.banner_first));
  ASSERT_TRUE(BuildBanner(banners[1], kMaxPath, kPanelBlankVariant.banner_first));
  for (const char* banner : banners) texts.push_back({banner, nullptr, kMaxPath});
  for (const ProductText& text : texts) {
    SCOPED_TRACE(text.utf8 ? text.utf8 : sim::Utf8FromGbk(text.text));
    std::u16string windows;
    ASSERT_TRUE(table.Decode(text.text, &windows)) << "a byte that is no character in Windows' code page 936";
    std::string utf8;
    for (char16_t c : windows) {
      if (c < 0x80) utf8 += static_cast<char>(c);
      else if (c < 0x800) utf8 += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
      else utf8 += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
    EXPECT_EQ(utf8, text.utf8 ? text.utf8 : sim::Utf8FromGbk(text.text)) << "Windows reads another character than the source has";
    if (text.room) {
      EXPECT_LT(windows.size(), text.room) << "does not fit its buffer";
    }
  }
}

}  // namespace
