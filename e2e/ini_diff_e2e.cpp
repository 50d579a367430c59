// The host's settings reader against the real GetPrivateProfileIntA.
#include <gtest/gtest.h>

#include "e2e/wine_env.h"

namespace {

TEST(SettingsReaderUnderWine, AnswersLikeGetPrivateProfileIntOnTheCorpus) {
  std::string folder = e2e::NewFolder("ini-diff");
  e2e::CopyFile(e2e::ToolsDir() + "/ini_diff.exe", folder + "/ini_diff.exe");
  e2e::Result r = e2e::RunWine(folder, folder + "/ini_diff.exe", {}, 60000);
  EXPECT_EQ(r.code, 0) << r.output;
  EXPECT_NE(r.output.find(" 0 differ"), std::string::npos) << r.output;
  std::cout << r.output;
}

}  // namespace
