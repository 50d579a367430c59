// The settings files: reading, the clamp of every key, the tray's exact bytes.
#include <gtest/gtest.h>

#include "common/settings.h"
#include "platform/sim/sim.h"

namespace {

struct ClampCase {
  int32_t (*clamp)(int32_t);
  const char* key;
  int32_t read;
  int32_t expected;
};

TEST(Settings, EveryKeyClampsAsItsTableSays) {
  const ClampCase cases[] = {
      {ClampBlankMode, "type", 0, 1},           {ClampBlankMode, "type", 1, 1},
      {ClampBlankMode, "type", 3, 3},           {ClampBlankMode, "type", 4, 1},
      {ClampBlankMode, "type", -1, 1},          {ClampDaemonEnabled, "daemon", 1, 1},
      {ClampDaemonEnabled, "daemon", 2, 0},     {ClampImageChange, "imagechange", 2, 0},
      {ClampImageChange, "imagechange", 1, 1},  {ClampSleepAction, "sleep", 2, 2},
      {ClampSleepAction, "sleep", 3, 0},        {ClampSleepAction, "sleep", -1, 0},
      {ClampIdleMinutes, "minute", 0, 10},      {ClampIdleMinutes, "minute", 1, 1},
      {ClampIdleMinutes, "minute", 180, 180},   {ClampIdleMinutes, "minute", 181, 10},
      {ClampSleepMinutes, "sleepminute", 0, -999}, {ClampSleepMinutes, "sleepminute", 360, 360},
      {ClampSleepMinutes, "sleepminute", 361, -999}, {ClampLeftClickMode, "default", 5, 0},
      {ClampLeftClickMode, "default", 3, 3},    {ClampLeftClickMode, "default", 0, 0},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    SCOPED_TRACE("row " + std::to_string(i) + ": " + cases[i].key + "=" + std::to_string(cases[i].read));
    EXPECT_EQ(cases[i].clamp(cases[i].read), cases[i].expected);
  }
}

int ReadTypes() {
  sim::Note("info %d", ReadSetting(kInfoIni, "type"));
  sim::Note("tray %d", ReadSetting(kTrayIni, "type"));
  sim::Note("missing key %d", ReadSetting(kInfoIni, "minute"));
  return 0;
}

TEST(Settings, ReadSettingFindsTheKeyAndGivesZeroForWhatIsAbsent) {
  sim::World world;
  world.File("info.ini", "[Setting]\r\nTYPE = 3 \r\ntype=2\r\n");
  sim::Run r = sim::RunProgram(ReadTypes, world, 1000);
  SCOPED_TRACE(r.Text());
  EXPECT_EQ(r.Count("note info 3"), 1) << "names match in any case; the first key wins";
  EXPECT_EQ(r.Count("note tray 0"), 1) << "an absent file reads 0";
  EXPECT_EQ(r.Count("note missing key 0"), 1);
}

int WriteTwoThree() {
  WriteTrayPrefs(2, 3);
  return 0;
}

TEST(Settings, TrayPrefsAreTheExact28Bytes) {
  sim::World world;
  world.File("tpinfo.ini", "[setting]\r\ntype=1\r\ndefault=1\r\nextra=old text that must go\r\n");
  sim::Run r = sim::RunProgram(WriteTwoThree, world, 1000);
  const std::string expected =
      "\x5B\x73\x65\x74\x74\x69\x6E\x67\x5D\x0D\x0A\x74\x79\x70\x65\x3D\x32\x0D\x0A"
      "\x64\x65\x66\x61\x75\x6C\x74\x3D\x33";
  EXPECT_EQ(r.FileBytes("tpinfo.ini"), expected) << r.Text();
  EXPECT_EQ(expected.size(), 28u);
}

int WriteEveryPair() {
  for (int32_t type = 0; type <= 3; ++type)
    for (int32_t left = 0; left <= 3; ++left) {
      WriteTrayPrefs(type, left);
      sim::Note("wrote %d %d: reads %d %d", type, left, ReadSetting(kTrayIni, "type"),
                ReadSetting(kTrayIni, "default"));
    }
  return 0;
}

TEST(Settings, EveryTrayWriteReadsBackAsWritten) {
  sim::Run r = sim::RunProgram(WriteEveryPair, sim::World(), 1000);
  SCOPED_TRACE(r.Text());
  for (int type = 0; type <= 3; ++type)
    for (int left = 0; left <= 3; ++left) {
      std::string line = "wrote " + std::to_string(type) + " " + std::to_string(left) + ": reads " +
                         std::to_string(type) + " " + std::to_string(left);
      EXPECT_EQ(r.Count(line), 1) << line;
    }
  EXPECT_EQ(r.FileBytes("tpinfo.ini").size(), 28u);
}

TEST(Settings, AFailedOpenWritesNothingAndCarriesOn) {
  sim::World world;
  world.File("tpinfo.ini", "[setting]\r\ntype=1\r\ndefault=1").Fail("fopen");
  sim::Run r = sim::RunProgram(WriteTwoThree, world, 1000);
  EXPECT_EQ(r.end, sim::End::Exit) << r.Text();
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.Count("fclose"), 0);
  EXPECT_EQ(r.FileBytes("tpinfo.ini"), "[setting]\r\ntype=1\r\ndefault=1");
}

}  // namespace
