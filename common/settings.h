// The two settings files: section "setting", integer keys, each reader clamps at once.
#pragma once
#include <cstdint>

constexpr char kInfoIni[] = ".//info.ini";
constexpr char kTrayIni[] = ".//tpinfo.ini";
constexpr char kTrayIniForWriting[] = ".\\tpinfo.ini";
constexpr char kTrayIniPresence[] = "tpinfo.ini";

constexpr int32_t kModeNormal = 1;
constexpr int32_t kModeLockScreen = 2;
constexpr int32_t kModeEnhanced = 3;

// The key's value in section "setting"; 0 when the file, section or key is absent.
int32_t ReadSetting(const char* file, const char* key);

int32_t ClampBlankMode(int32_t type);           // 1..3, else Normal
int32_t ClampDaemonEnabled(int32_t daemon);     // 1 enabled, else 0
int32_t ClampImageChange(int32_t imagechange);  // 1 on, else 0
int32_t ClampSleepAction(int32_t sleep);        // 1 sleep, 2 hibernate, else 0
int32_t ClampIdleMinutes(int32_t minute);       // 1..180, else 10
int32_t ClampSleepMinutes(int32_t sleepminute); // 1..360, else -999 (no power action)
int32_t ClampLeftClickMode(int32_t mode);       // 1..3, else 0 (a left click opens the menu)
int32_t ClampHotkey(int32_t hotkey);            // 1..3, else 0 (none)

// Rewrites the tray's file: "[setting]" CR LF "type=T" CR LF "default=D", and
// CR LF "hotkey=H" after it only for a hotkey other than 0.
void WriteTrayPrefs(int32_t type, int32_t left_click_mode, int32_t hotkey = 0);
