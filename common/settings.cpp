#include "common/settings.h"

#include "common/text_buffer.h"
#include "platform/files.h"

int32_t ReadSetting(const char* file, const char* key) {
  return static_cast<int32_t>(platform::GetPrivateProfileIntA("setting", key, 0, file));
}

static bool InRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

int32_t ClampBlankMode(int32_t type) { return InRange(type, 1, 3) ? type : kModeNormal; }

int32_t ClampDaemonEnabled(int32_t daemon) { return daemon == 1 ? 1 : 0; }

int32_t ClampImageChange(int32_t imagechange) { return imagechange == 1 ? 1 : 0; }

int32_t ClampSleepAction(int32_t sleep) { return InRange(sleep, 1, 2) ? sleep : 0; }

int32_t ClampIdleMinutes(int32_t minute) { return InRange(minute, 1, 180) ? minute : 10; }

int32_t ClampSleepMinutes(int32_t sleepminute) {
  return InRange(sleepminute, 1, 360) ? sleepminute : -999;
}

int32_t ClampLeftClickMode(int32_t mode) { return InRange(mode, 1, 3) ? mode : 0; }
int32_t ClampHotkey(int32_t hotkey) { return InRange(hotkey, 1, 3) ? hotkey : 0; }

void WriteTrayPrefs(int32_t type, int32_t left_click_mode, int32_t hotkey) {
  TextBuffer bytes;
  ClearText(&bytes);
  AppendText(&bytes, "[setting]\r\ntype=");
  AppendDecimal(&bytes, type);
  AppendText(&bytes, "\r\ndefault=");
  AppendDecimal(&bytes, left_click_mode);
  if (hotkey != 0) {
    AppendText(&bytes, "\r\nhotkey=");
    AppendDecimal(&bytes, hotkey);
  }
  // Binary mode: the line ends above are already CR LF.
  platform::Handle file = platform::OpenFile(kTrayIniForWriting, "wb");
  if (!file) return;
  platform::WriteFile(file, bytes.text, bytes.length);
  platform::CloseFile(file);
}
