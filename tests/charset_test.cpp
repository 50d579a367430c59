// Narrow texts are emitted as GBK, as the narrow Windows calls pass them on.
#include <gtest/gtest.h>

#include <string>

TEST(Charset, NarrowLiteralsAreGbk) {
  const std::string lock_screen = "锁屏版";
  EXPECT_EQ(lock_screen, std::string("\xCB\xF8\xC6\xC1\xB0\xE6"));
}
