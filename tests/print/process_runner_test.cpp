#include "print/process_runner.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "storage/temp_directory.h"

namespace intra {
namespace {

TEST(PosixProcessRunner, PassesEachArgumentAsItIsWithoutAShell) {
  testing::TempDirectory tmp;
  PosixProcessRunner runner;
  ASSERT_TRUE(runner.run({"touch", {"a@b;touch hacked", "$(touch x)"}, tmp.path()}));
  EXPECT_TRUE(std::filesystem::exists(tmp.path() / "a@b;touch hacked"));
  EXPECT_TRUE(std::filesystem::exists(tmp.path() / "$(touch x)"));
  EXPECT_FALSE(std::filesystem::exists(tmp.path() / "hacked"));
  EXPECT_FALSE(std::filesystem::exists(tmp.path() / "x"));
}

TEST(PosixProcessRunner, AProgramThatIsNotThereIsReported) {
  PosixProcessRunner runner;
  EXPECT_FALSE(runner.run({"no-such-mailer-here", {}, {}}));
}

}  // namespace
}  // namespace intra
