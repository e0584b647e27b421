#include "screen/cp852.h"
#include "screen/picture.h"

#include <gtest/gtest.h>

#include <optional>

namespace intra {
namespace {

TEST(Picture, UpperCasesAsciiAndPolishLettersOfCodePage852) {
  const struct {
    unsigned char lower, upper;
  } pairs[] = {{'a', 'A'}, {'z', 'Z'}, {0xA5, 0xA4}, {0x86, 0x8F}, {0xA9, 0xA8}, {0x88, 0x9D}, {0xE4, 0xE3},
               {0xA2, 0xE0}, {0x98, 0x97}, {0xAB, 0x8D}, {0xBE, 0xBD}};
  for (const auto& p : pairs) {
    EXPECT_EQ(static_cast<unsigned char>(upper_case_852(static_cast<char>(p.lower))), p.upper) << int(p.lower);
    EXPECT_EQ(static_cast<unsigned char>(upper_case_852(static_cast<char>(p.upper))), p.upper) << int(p.upper);
    EXPECT_TRUE(is_letter_852(static_cast<char>(p.lower)));
    EXPECT_TRUE(is_letter_852(static_cast<char>(p.upper)));
  }
  for (const char other : {'1', '-', ' ', '\xC4'}) {
    EXPECT_EQ(upper_case_852(other), other);
    EXPECT_FALSE(is_letter_852(other));
  }
}

TEST(Picture, WidthComesFromTheTemplateOrTheValue) {
  const struct {
    const char* picture;
    Value value;
    FieldKind kind;
    int width, shown;
  } cases[] = {
      {"99-999", Value::blanks(6), FieldKind::Text, 6, 6},
      {"!", Value("P"), FieldKind::Text, 1, 1},
      {"", Value::blanks(25), FieldKind::Text, 25, 25},
      {"XXX", Value::blanks(30), FieldKind::Text, 3, 3},
      {"@S30", Value::blanks(40), FieldKind::Text, 40, 30},
      {"@S5 XXXXXXXXXX", Value(""), FieldKind::Text, 10, 5},
      {"@S50", Value("abc"), FieldKind::Text, 3, 3},
      {"@!", Value::blanks(13), FieldKind::Text, 13, 13},
      {"99", Value(12), FieldKind::Number, 2, 2},
      {"", Value(42), FieldKind::Number, 10, 10},
      {"", Value(1.25), FieldKind::Number, 13, 13},
      {"", Value(Date()), FieldKind::Date, 10, 10},
      {"", Value(true), FieldKind::Logical, 1, 1},
  };
  for (const auto& c : cases) {
    const Picture p(c.picture, c.value);
    EXPECT_EQ(p.kind(), c.kind) << c.picture;
    EXPECT_EQ(p.width(), c.width) << c.picture;
    EXPECT_EQ(p.shown_width(), c.shown) << c.picture;
  }
}

TEST(Picture, EachTemplateCharacterAcceptsItsKindOfCharacter) {
  const struct {
    const char* picture;
    Value value;
    int pos;
    char typed;
    std::optional<char> stored;
  } cases[] = {
      {"X", Value(" "), 0, '%', '%'},
      {"X", Value(" "), 0, 'a', 'a'},
      {"!", Value(" "), 0, 'a', 'A'},
      {"!", Value(" "), 0, '\x88', '\x9D'},
      {"@! X", Value(" "), 0, '\xBE', '\xBD'},
      {"9", Value(" "), 0, '5', '5'},
      {"9", Value(" "), 0, 'a', std::nullopt},
      {"#", Value(" "), 0, ' ', ' '},
      {"A", Value(" "), 0, '\xA5', '\xA5'},
      {"A", Value(" "), 0, '1', std::nullopt},
      {"N", Value(" "), 0, '1', '1'},
      {"N", Value(" "), 0, '_', std::nullopt},
      {"L", Value(" "), 0, 'y', 'Y'},
      {"Y", Value(" "), 0, 't', std::nullopt},
      {"99-999", Value::blanks(6), 2, '1', std::nullopt},  // fixed position
      {"X", Value(" "), 0, '\x01', std::nullopt},
      {"99", Value(0), 0, '-', '-'},
      {"99", Value(0), 0, ' ', std::nullopt},
      {"##", Value(0), 0, ' ', ' '},
      {"", Value(Date()), 0, '3', '3'},
      {"", Value(Date()), 2, '3', std::nullopt},  // the dot
      {"", Value(Date()), 0, 'x', std::nullopt},
      {"", Value(false), 0, 'y', 'T'},
      {"", Value(false), 0, 'N', 'F'},
      {"Y", Value(false), 0, 't', 'Y'},
      {"", Value(false), 0, 'x', std::nullopt},
  };
  for (const auto& c : cases) {
    const Picture p(c.picture, c.value);
    EXPECT_EQ(p.accept(c.pos, c.typed), c.stored) << c.picture << " pos " << c.pos << " '" << c.typed << "'";
  }
}

TEST(Picture, ShowsValuesInTheBuffer) {
  const struct {
    const char* picture;
    Value value;
    const char* buffer;
  } cases[] = {
      {"99-999", Value("12-345"), "12-345"},
      {"99-999", Value("123456"), "12-456"},  // without @R the fixed character covers the value's
      {"@R 99-999", Value("12345"), "12-345"},
      {"!!!", Value("abc"), "ABC"},
      {"@!", Value("\xA5wx"), "\xA4WX"},
      {"XX", Value("abcdef"), "ab"},
      {"XXXX", Value("ab"), "ab  "},
      {"999.99", Value(5), "  5.00"},
      {"999.99", Value(-1.5), " -1.50"},
      {"999.99", Value(2.125), "  2.13"},  // half away from zero
      {"999.99", Value(-2.125), " -2.13"},
      {"99", Value(0), " 0"},
      {"99", Value(123), "**"},
      {"99", Value(-5), "-5"},
      {"9", Value(-5), "*"},
      {"9,999", Value(1234), "1,234"},
      {"9,999", Value(12), "   12"},
      {".99", Value(0.5), ".50"},
      {"", Value(42), "        42"},
      {"", Value(1.25), "         1.25"},
      {"", Value(Date::from_ymd(2026, 3, 7)), "07.03.2026"},
      {"", Value(Date()), "  .  .    "},
      {"", Value(true), "T"},
      {"Y", Value(false), "N"},
  };
  for (const auto& c : cases) EXPECT_EQ(Picture(c.picture, c.value).buffer_of(c.value), c.buffer) << c.picture;
}

TEST(Picture, TurnsBuffersBackIntoValues) {
  const struct {
    const char* picture;
    Value original;
    const char* buffer;
    Value value;
  } cases[] = {
      {"99-999", Value::blanks(6), "12-345", Value("12-345")},
      {"@R 99-999", Value::blanks(5), "12-345", Value("12345")},
      {"XXX", Value("abcdef"), "xyz", Value("xyzdef")},  // the tail beyond a short picture stays
      {"XXXX", Value("ab"), "abcd", Value("abcd")},
      {"999.99", Value(0), " 12.50", Value(12.5)},
      {"999.99", Value(0), " -1.50", Value(-1.5)},
      {"999.99", Value(0), "12 .  ", Value(12)},
      {"999.99", Value(0), "   .  ", Value(0)},
      {"99", Value(0), "-3", Value(-3)},
      {"", Value(Date()), "01.02.2025", Value(Date::from_ymd(2025, 2, 1))},
      {"", Value(Date()), "  .  .    ", Value(Date())},
      {"", Value(false), "T", Value(true)},
      {"Y", Value(true), "N", Value(false)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Picture(c.picture, c.original).value_of(c.buffer, c.original), c.value) << c.picture << " " << c.buffer;
}

TEST(Picture, OnlyAFilledInvalidDateIsUnacceptable) {
  const Picture date("", Value(Date()));
  EXPECT_TRUE(date.acceptable("  .  .    "));
  EXPECT_TRUE(date.acceptable("29.02.2024"));
  EXPECT_FALSE(date.acceptable("29.02.2025"));
  EXPECT_FALSE(date.acceptable("1 .  .    "));
  EXPECT_TRUE(Picture("99", Value(0)).acceptable("**"));
}

TEST(Picture, PointRightAlignsTheIntegerPartTypedSoFar) {
  const struct {
    const char* picture;
    const char* before;
    const char* after;
  } cases[] = {
      {"999.99", "12 .5 ", " 12.5 "},
      {"999.99", "1 2.  ", " 12.  "},
      {"999.99", "-3 .  ", " -3.  "},
      {"999.99", "   .  ", "   .  "},
      {"9,999.99", "1,2  .  ", "   12.  "},  // the separator waits for the value to be shown again
  };
  for (const auto& c : cases) {
    std::string buffer = c.before;
    Picture(c.picture, Value(0)).align_integer_part(buffer);
    EXPECT_EQ(buffer, c.after) << c.before;
  }
}

}  // namespace
}  // namespace intra
