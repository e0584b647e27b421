// FDOKLEJ: the non-empty lines of one text file appended to another.
#include <gtest/gtest.h>

#include <string>

#include "database/text_lines.h"
#include "database_fixture.h"

namespace intra {
namespace {

struct FdoklejTest : ::testing::Test, testing::DatabaseFixture {};

TEST_F(FdoklejTest, NonEmptyLinesAreAppendedAtTheEndUpToTheMaximum) {
  const struct {
    std::size_t max;
    std::string appended;
  } cases[] = {
      {kAllLines, "one\r\ntwo\r\nthree\r\nfour\r\n"},
      {3, "one\r\ntwo\r\nthree\r\n"},  // empty lines are not counted
      {1, "one\r\n"},
      {0, ""},
  };
  for (const auto& c : cases) {
    write_bytes("target.txt", "kept\r\n");
    write_bytes("source.txt", "\r\none\r\n\r\n\r\ntwo\r\nthree\r\n\r\nfour\r\n");
    FDOKLEJ("target.txt", "source.txt", c.max);
    EXPECT_EQ(bytes("target.txt"), "kept\r\n" + c.appended) << c.max;
    EXPECT_EQ(bytes("source.txt"), "\r\none\r\n\r\n\r\ntwo\r\nthree\r\n\r\nfour\r\n");
  }
}

TEST_F(FdoklejTest, AFinalLineWithoutCrLfIsNotCarriedOver) {
  write_bytes("target.txt", "");
  write_bytes("source.txt", "one\r\nunfinished");
  FDOKLEJ("target.txt", "source.txt");
  EXPECT_EQ(bytes("target.txt"), "one\r\n");
}

TEST_F(FdoklejTest, AMissingFileMeansNothingIsAppended) {
  write_bytes("source.txt", "one\r\n");
  FDOKLEJ("missing.txt", "source.txt");
  EXPECT_FALSE(files.exists("missing.txt"));  // the target is never created

  write_bytes("target.txt", "kept\r\n");
  FDOKLEJ("target.txt", "missing.txt");
  EXPECT_EQ(bytes("target.txt"), "kept\r\n");
}

}  // namespace
}  // namespace intra
