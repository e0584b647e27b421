// FREADLINE: one CR LF line per call from a file position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/text_lines.h"
#include "database_fixture.h"

namespace intra {
namespace {

struct FreadlineTest : ::testing::Test, testing::DatabaseFixture {
  // Every line FREADLINE gives until the position reaches the file's size,
  // with the position after each call.
  std::vector<std::pair<std::string, std::uint64_t>> read_all(const std::string& content) {
    write_bytes("t.txt", content);
    auto file = files.open("t.txt", OpenMode::Read);
    EXPECT_TRUE(file);
    std::vector<std::pair<std::string, std::uint64_t>> calls;
    for (std::uint64_t position = 0; file && position < content.size();) {
      std::string line = FREADLINE(*file, position);
      calls.emplace_back(std::move(line), position);
    }
    return calls;
  }
};

using Calls = std::vector<std::pair<std::string, std::uint64_t>>;

TEST_F(FreadlineTest, LinesAreReturnedWithoutTheirLineEnds) {
  EXPECT_EQ(read_all("first\r\n\r\nthird line\r\n"), (Calls{{"first", 7}, {"", 9}, {"third line", 21}}));
}

TEST_F(FreadlineTest, AFinalLineWithoutCrLfGivesEmptyStringsOneByteAtATime) {
  EXPECT_EQ(read_all("ab\r\nxyz"), (Calls{{"ab", 4}, {"", 5}, {"", 6}, {"", 7}}));
  // A lone CR or LF is no line end.
  EXPECT_EQ(read_all("a\rb\n"), (Calls{{"", 1}, {"", 2}, {"", 3}, {"", 4}}));
}

TEST_F(FreadlineTest, AtTheEndOfTheFileThePositionStillMovesOn) {
  write_bytes("t.txt", "ab\r\n");
  auto file = files.open("t.txt", OpenMode::Read);
  ASSERT_TRUE(file);
  std::uint64_t position = 4;
  EXPECT_EQ(FREADLINE(*file, position), "");
  EXPECT_EQ(position, 5u);
}

TEST_F(FreadlineTest, ALineLongerThan748CharactersComesBackOnlyInPart) {
  std::string long_line;
  for (int i = 0; i < 800; ++i) long_line += static_cast<char>('a' + i % 26);
  const Calls calls = read_all(long_line + "\r\nnext\r\n");
  // Until the CR LF lies within the 750 bytes read, one byte per call.
  ASSERT_EQ(calls.size(), 52u + 1 + 1);
  for (std::size_t i = 0; i < 52; ++i) EXPECT_EQ(calls[i], (std::pair<std::string, std::uint64_t>("", i + 1)));
  EXPECT_EQ(calls[52].first, long_line.substr(52));
  EXPECT_EQ(calls[52].first.size(), 748u);
  EXPECT_EQ(calls[52].second, 802u);
  EXPECT_EQ(calls[53], (std::pair<std::string, std::uint64_t>("next", 808)));

  // 748 characters and the CR LF fit in one read exactly.
  const std::string longest(748, 'x');
  EXPECT_EQ(read_all(longest + "\r\n"), (Calls{{longest, 750}}));
}

}  // namespace
}  // namespace intra
