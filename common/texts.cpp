#include "common/texts.h"

#include "platform/menus.h"
#include "platform/tray.h"

constexpr uint32_t kMenuRoom = platform::kMenuTextRoom;
constexpr uint32_t kTipRoom = sizeof platform::NotifyIconRecord::tip;
constexpr uint32_t kTitleRoom = sizeof platform::NotifyIconRecord::info_title;
constexpr uint32_t kBalloonRoom = sizeof platform::NotifyIconRecord::info;

#define NOCTURO_ROW(name, text, room) {name, u8##text, room},
const ProductText kProductTexts[] = {NOCTURO_TEXTS(NOCTURO_ROW)};
#undef NOCTURO_ROW
const size_t kProductTextCount = sizeof kProductTexts / sizeof kProductTexts[0];
