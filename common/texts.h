// The product's texts, each written once, here: as GBK bytes for the programs
// (the sources are UTF-8, compiled with -fexec-charset=CP936), and in a table
// with the UTF-8 of the same literal and the room the text has on Windows'
// side of the seam, which reads it as code page 936.
#pragma once
#include <cstddef>
#include <cstdint>

// Name, text, room in wide characters with the terminator (0: any length, the console's).
#define NOCTURO_TEXTS(X)                                                                                     \
  /* The lines the blankers' banner and the probe's report share. */                                         \
  X(kNoticeLine, "本工具只关闭显示器，电脑仍在运行", 0)                                                      \
  X(kDownloadLine, "官方下载地址 nocturo.example.com", 0)                                                      \
  X(kWakeHintLine, "若唤醒屏幕后鼠标无法移动，按Ctrl+Alt+Delete键", 0)                                          \
  /* The tray's menu and tooltips. */                                                                          \
  X(kMenuNormal, "普通版", kMenuRoom)                                                                         \
  X(kMenuLockScreen, "锁屏版", kMenuRoom)                                                                     \
  X(kMenuEnhanced, "增强版", kMenuRoom)                                                                       \
  X(kMenuStartAtLogon, "开机启动", kMenuRoom)                                                                 \
  X(kMenuYes, "是", kMenuRoom)                                                                                \
  X(kMenuNo, "否", kMenuRoom)                                                                                 \
  X(kMenuLeftButton, "鼠标左键", kMenuRoom)                                                                   \
  X(kMenuModeList, "版本列表", kMenuRoom)                                                                     \
  X(kMenuHotkey, "快捷键", kMenuRoom)                                                                         \
  X(kMenuNoHotkey, "无", kMenuRoom)                                                                           \
  X(kMenuExit, "退出", kMenuRoom)                                                                             \
  X(kTooltipNormal, "Nocturo普通版", kTipRoom)                                                                \
  X(kTooltipLockScreen, "Nocturo锁屏版", kTipRoom)                                                            \
  X(kTooltipEnhanced, "Nocturo增强版", kTipRoom)                                                              \
  X(kTooltipNone, "Nocturo版本", kTipRoom)                                                                    \
  /* The tray's balloons: start at logon where the user can change the folder, on a PC without VBScript; */ \
  /* a copy whose blanker carries another publisher's signature, or none. */                                \
  X(kNoStartAtLogonTitle, "Nocturo 无法开机启动", kTitleRoom)                                                 \
  X(kNoStartAtLogonText, "这台电脑不能运行 VBScript 脚本。请用安装程序（.msi）安装 Nocturo，开机启动即可使用。", \
    kBalloonRoom)                                                                                             \
  X(kNotOurSiblingTitle, "Nocturo 无法熄屏", kTitleRoom)                                                      \
  X(kNotOurSiblingText, "本文件夹中的程序与托盘程序的签名不一致，可能已被替换。请重新安装 Nocturo。", kBalloonRoom) \
  /* A hotkey another program holds; its text follows the combination's name. */                           \
  X(kHotkeyTakenTitle, "Nocturo 快捷键不可用", kTitleRoom)                                                    \
  X(kHotkeyTakenText, " 已被另一个程序占用。请在托盘菜单“快捷键”中另选一个；托盘下次启动时会再试。", kBalloonRoom) \
  /* The probe's report. */                                                                                    \
  X(kDetected, "检测到屏幕状态 success Nocturo普通版、锁屏版、增强版、辅助工具可以使用", 0)                  \
  X(kNotDetected, "未检测到屏幕状态 fail Nocturo增强版、辅助工具不能使用，请使用Nocturo普通版", 0)           \
  X(kSleepCheck, "睡眠模式检测", 0)                                                                           \
  X(kNoSleepStates, "无法运行 powercfg /a", 0)

#define NOCTURO_TEXT(name, text, room) constexpr char name[] = text;
NOCTURO_TEXTS(NOCTURO_TEXT)
#undef NOCTURO_TEXT

struct ProductText {
  const char* text;  // GBK, as the programs have it
  const char* utf8;  // the same literal, as written
  uint32_t room;
};
extern const ProductText kProductTexts[];
extern const size_t kProductTextCount;
