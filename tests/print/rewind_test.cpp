#include "print/rewind.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "print/view_line_reader.h"
#include "print_file_fixture.h"

namespace intra {
namespace {

using testing::PrintFileFixture;

// One backward line step over the whole file in memory: the last CR LF in
// the 750 bytes that end two bytes before `p`, or in the bytes before that
// when `p` is near the start; without any, the start of the file near the
// start, else 748 bytes back.
std::uint64_t previous_line(const std::string& file, std::uint64_t p) {
  if (p < 752) {
    const std::string_view head = std::string_view(file).substr(0, p > 2 ? std::min<std::uint64_t>(p - 2, file.size()) : 0);
    const std::size_t at = head.rfind("\r\n");
    return at == std::string_view::npos ? 0 : at + 2;
  }
  const std::uint64_t from = p - 752;
  const std::string_view block =
      from < file.size() ? std::string_view(file).substr(from, std::min<std::uint64_t>(750, file.size() - from)) : "";
  const std::size_t at = block.rfind("\r\n");
  return at == std::string_view::npos ? p - 748 : from + at + 2;
}

std::uint64_t model_rewind(const std::string& file, long count, std::uint64_t p) {
  for (; count > 0 && p > 0; --count) p = previous_line(file, p);
  return p;
}

// Random lines: lengths mostly short, some near and over the 750-byte
// block, text that may hold lone CR and LF bytes; the last line end may be
// missing.
std::string random_file(std::mt19937& random, std::vector<std::uint64_t>& line_starts) {
  std::uniform_int_distribution<int> count_of(0, 40);
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string file;
  const int lines = count_of(random);
  line_starts.clear();
  for (int i = 0; i < lines; ++i) {
    line_starts.push_back(file.size());
    const int k = kind(random);
    const int length = k < 6 ? std::uniform_int_distribution<int>(0, 80)(random)
                       : k < 8 ? std::uniform_int_distribution<int>(740, 760)(random)
                               : std::uniform_int_distribution<int>(761, 2400)(random);
    for (int j = 0; j < length; ++j) {
      char c = static_cast<char>(byte(random));
      // A CR LF pair inside would make two lines; single ones stay.
      if (c == '\n' && !file.empty() && file.back() == '\r') c = 'x';
      file += c;
    }
    if (i + 1 < lines || kind(random) < 7) {
      if (!file.empty() && file.back() == '\r') file.back() = 'y';
      file += "\r\n";
    }
  }
  return file;
}

TEST(Rewind, MatchesTheLineModelOverRandomFiles) {
  PrintFileFixture run;
  std::mt19937 random(20261211);
  std::vector<std::uint64_t> starts;
  for (int round = 0; round < 300; ++round) {
    const std::string bytes = random_file(random, starts);
    run.write_bytes("rob.prn", bytes);
    auto file = run.open_read("rob.prn");
    ASSERT_TRUE(file);
    std::vector<std::uint64_t> positions = starts;
    positions.push_back(bytes.size());
    positions.push_back(bytes.size() + 2);  // the end, as if a line end followed the last line
    std::uniform_int_distribution<std::uint64_t> anywhere(0, bytes.size());
    for (int i = 0; i < 5; ++i) positions.push_back(anywhere(random));
    for (const std::uint64_t p : positions) {
      for (const long count : {1L, 2L, 5L, 24L, 60L}) {
        ASSERT_EQ(REWIND(*file, count, p), model_rewind(bytes, count, p))
            << "round " << round << ", from " << p << ", " << count << " lines back, file of " << bytes.size();
      }
    }
  }
}

TEST(Rewind, LandsOnTheLineStartsOfAPrintFile) {
  // Lines up to 748 bytes, many ending in blanks, an empty first line.
  PrintFileFixture run;
  std::mt19937 random(7);
  std::string bytes = "\r\n";
  std::vector<std::uint64_t> starts = {0};
  for (int i = 0; i < 400; ++i) {
    starts.push_back(bytes.size());
    const int length = std::uniform_int_distribution<int>(0, 748)(random);
    std::string line(static_cast<std::size_t>(length), ' ');
    for (std::size_t j = 0; j < line.size() / 2; ++j) line[j] = static_cast<char>('A' + j % 26);
    bytes += line + "\r\n";
  }
  starts.push_back(bytes.size());
  run.write_bytes("p.prn", bytes);
  auto file = run.open_read("p.prn");
  for (std::size_t k = 0; k < starts.size(); k += 7) {
    for (const long count : {1L, 3L, 24L, 500L}) {
      const std::size_t expected = k >= static_cast<std::size_t>(count) ? k - static_cast<std::size_t>(count) : 0;
      EXPECT_EQ(REWIND(*file, count, starts[k]), starts[expected]) << "line " << k << ", " << count << " back";
    }
  }
}

TEST(Rewind, TheStartOfTheFileStaysPut) {
  PrintFileFixture run;
  run.write_bytes("p.prn", "abc\r\ndef\r\n");
  auto file = run.open_read("p.prn");
  EXPECT_EQ(REWIND(*file, 1, 0), 0u);
  EXPECT_EQ(REWIND(*file, 1, 5), 0u);
  EXPECT_EQ(REWIND(*file, 1, 10), 5u);
  EXPECT_EQ(REWIND(*file, 0, 10), 10u);
  EXPECT_EQ(REWIND(*file, 9, 10), 0u);
}

TEST(ViewLineReader, ReadsLinesPiecesOfLongLinesAndALastLineWithoutItsEnd) {
  PrintFileFixture run;
  const std::string long_line(1600, 'w');
  const std::string bytes = "\r\nshort  \r\n" + long_line + "\r\n" + std::string(748, 'z') + "\r\ntail";
  run.write_bytes("p.prn", bytes);
  auto file = run.open_read("p.prn");
  std::uint64_t at = 0;
  std::vector<std::string> read;
  while (at < bytes.size()) read.push_back(read_view_line(*file, at, bytes.size()));
  const std::vector<std::string> expected = {"", "short  ", std::string(748, 'w'), std::string(748, 'w'),
                                             std::string(104, 'w'), std::string(748, 'z'), "tail"};
  EXPECT_EQ(read, expected);
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(read_view_line(*file, at, bytes.size()), "");
  EXPECT_EQ(at, bytes.size());
}

}  // namespace
}  // namespace intra
