#include "print/text_copies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "print_file_fixture.h"

namespace intra {
namespace {

using testing::PrintFileFixture;

const std::string kCodes = "\x1b" "3 \x1b!\x05";

TEST(KopTxt, CopiesEveryLineAndEndsTheLastOne) {
  PrintFileFixture run;
  struct Case {
    std::string source, copy;
  };
  const std::vector<Case> cases = {
      {"\r\nA\r\nB  \r\n", "\r\nA\r\nB  \r\n"},
      {"A\r\nB", "A\r\nB\r\n"},
      {"", ""},
      {std::string(2000, 'd') + "\r\n", std::string(2000, 'd') + "\r\n"},
  };
  for (const Case& c : cases) {
    run.write_bytes("src.prn", c.source);
    run.write_bytes("dst.txt", "old content that is longer than any copy here ......");
    EXPECT_TRUE(KOP_TXT("src.prn", "dst.txt"));
    EXPECT_EQ(run.bytes("dst.txt"), c.copy);
  }
  EXPECT_FALSE(KOP_TXT("none.prn", "dst.txt"));
}

TEST(TworzTxt, ReplacesTheFileWithTheTextAndALineEnd) {
  PrintFileFixture run;
  run.write_bytes("text.txt", "something longer");
  EXPECT_TRUE(TWORZ_TXT("Pozdrawiam", "text.txt"));
  EXPECT_EQ(run.bytes("text.txt"), "Pozdrawiam\r\n");
}

TEST(CopyTxt, AfterBlankLines) {
  PrintFileFixture run;
  run.write_bytes("src.prn", "\r\nA\r\nB\r\n");
  EXPECT_TRUE(COPY_TXT("src.prn", "out.pr", 2));
  EXPECT_EQ(run.bytes("out.pr"), kCodes + "\r\n\r\n" + "\r\nA\r\nB\r\n" + "\r\n");
  EXPECT_TRUE(COPY_TXT("src.prn", "out.pr", 0));
  EXPECT_EQ(run.bytes("out.pr"), kCodes + "\r\nA\r\nB\r\n\r\n");
}

TEST(CopyTxt, PartBetweenTwoTexts) {
  PrintFileFixture run;
  run.write_bytes("src.prn", PrintFileFixture::lines_text({"", "Naglowek", "  Pozycja 1", "pozycja 2", "Razem", "Stopka"}));
  struct Case {
    std::string from, to, copy;
  };
  const std::vector<Case> cases = {
      {"POZYCJA", "RAZEM", kCodes + "  Pozycja 1\r\npozycja 2\r\nRazem\r\n\r\n"},
      {"POZYCJA", "", kCodes + "  Pozycja 1\r\npozycja 2\r\nRazem\r\nStopka\r\n\r\n"},
      {"", "NAGL", kCodes + "\r\nNaglowek\r\n\r\n"},
      {"razem", "RAZEM", kCodes + "Razem\r\nStopka\r\n\r\n"},  // the from-line itself never ends the part
      {"BRAK", "", "\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(COPY_TXT("src.prn", "out.pr", c.from, c.to));
    EXPECT_EQ(run.bytes("out.pr"), c.copy) << c.from << " .. " << c.to;
  }
}

}  // namespace
}  // namespace intra
