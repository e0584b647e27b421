#include "storage/field_codec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace intra {
namespace {

using namespace std::string_literals;

FieldDescriptor field(char type, int width, int decimals = 0) {
  FieldDescriptor f;
  f.name = "F";
  f.type = type;
  f.width = width;
  f.decimals = decimals;
  f.offset = 1;
  return f;
}

// Encodes into a buffer that starts out as `before` (sentinel bytes by
// default), so a test sees both what was written and what was left alone.
struct Encoded {
  EncodeResult result;
  std::string bytes;
};

Encoded encode(const FieldDescriptor& f, const Value& v, std::string before = {}) {
  if (before.empty()) before.assign(static_cast<std::size_t>(f.width), '#');
  Encoded e{EncodeResult::Ok, before};
  e.result = encode_field(f, v, e.bytes.data());
  return e;
}

// ---------------------------------------------------------------- numbers

struct NumberCase {
  double value;
  int width;
  int decimals;
  std::optional<std::string> text;
};

TEST(FieldCodecNumber, FormatsRightAlignedAndRoundsHalfAwayFromZero) {
  const double inf = std::numeric_limits<double>::infinity();
  const NumberCase cases[] = {
      {-3.5, 6, 2, " -3.50"},
      {7, 3, 0, "  7"},
      {1234.5, 5, 1, std::nullopt},
      {1234.5, 6, 1, "1234.5"},
      // decimal-text rounding although the doubles lie just below the half
      {2.675, 4, 2, "2.68"},
      {1.005, 4, 2, "1.01"},
      {-1.005, 5, 2, "-1.01"},
      {0.995, 4, 2, "1.00"},
      {9.995, 5, 2, "10.00"},
      {9.995, 4, 2, std::nullopt},
      {2.5, 1, 0, "3"},
      {-2.5, 2, 0, "-3"},
      {0.5, 1, 0, "1"},
      {0.4, 1, 0, "0"},
      {1.1 * 3, 5, 1, "  3.3"},
      {0.1 + 0.2, 4, 2, "0.30"},
      // zero and the leading zero before the point
      {0, 1, 0, "0"},
      {0, 4, 2, "0.00"},
      {-0.0, 4, 2, "0.00"},
      {0.5, 4, 2, "0.50"},
      {0.5, 3, 2, std::nullopt},
      {-0.001, 5, 2, " 0.00"},
      {-0.005, 5, 2, "-0.01"},
      {-0.4, 2, 0, " 0"},
      // width 1
      {7, 1, 0, "7"},
      {9.5, 1, 0, std::nullopt},
      {10, 1, 0, std::nullopt},
      {-1, 1, 0, std::nullopt},
      // the minus sign needs its own place
      {-9, 2, 0, "-9"},
      {-10, 2, 0, std::nullopt},
      {-10, 3, 0, "-10"},
      {-100, 3, 0, std::nullopt},
      {-100, 4, 0, "-100"},
      {-1000, 3, 0, std::nullopt},
      {-99.5, 3, 0, std::nullopt},
      // big widths
      {123456789.1234, 20, 4, "      123456789.1234"},
      {-98765432109.5678, 20, 4, "   -98765432109.5678"},
      {1e14, 20, 4, "100000000000000.0000"},
      {1e15, 20, 4, std::nullopt},
      {1.0 / 3, 12, 10, "0.3333333333"},
      {1e20, 25, 0, "    100000000000000000000"},
      {inf, 10, 0, std::nullopt},
      {-inf, 10, 0, std::nullopt},
      {std::nan(""), 10, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " in " << c.width << "," << c.decimals);
    EXPECT_EQ(format_number(c.value, c.width, c.decimals), c.text);
  }
}

std::string hundredths_text(long hundredths) {
  const long magnitude = hundredths < 0 ? -hundredths : hundredths;
  std::string digits = std::to_string(magnitude / 100) + "." + std::to_string(100 + magnitude % 100).substr(1);
  if (hundredths < 0) digits.insert(0, "-");
  return std::string(12 - digits.size(), ' ') + digits;
}

// Every k.kk5 from 0.005 to 99.995 (and its negative), read from its
// decimal text as a user would type it, rounds away from zero at 2 decimals,
// whichever side of the half its double happens to fall on.
TEST(FieldCodecNumber, EveryDecimalHalfRoundsAwayFromZero) {
  for (long i = 0; i < 10000; ++i) {
    const std::string typed = std::to_string(i / 100) + "." + std::to_string(1000 + (i % 100) * 10 + 5).substr(1);
    const double v = parse_number(typed);
    ASSERT_EQ(format_number(v, 12, 2), hundredths_text(i + 1)) << typed;
    ASSERT_EQ(format_number(-v, 12, 2), hundredths_text(-(i + 1))) << typed;
  }
}

TEST(FieldCodecNumber, FormattedTextReadsBackAsTheSameNumber) {
  for (long i = -200000; i <= 200000; i += 7) {
    const double v = static_cast<double>(i) / 100;
    const auto text = format_number(v, 10, 2);
    ASSERT_TRUE(text.has_value()) << v;
    ASSERT_EQ(parse_number(*text), v) << *text;
  }
}

TEST(FieldCodecNumber, ReadsLeadingNumberAndIgnoresTheRest) {
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"  -3.50", -3.5},
      {"*****", 0},
      {"   ", 0},
      {"", 0},
      {" 12abc", 12},
      {"1.2.3", 1.2},
      {"+5", 5},
      {"-0.00", 0},
      {".5", 0.5},
      {"  -.25", -0.25},
      {"12 34", 12},
      {"- 5", 0},
      {"-", 0},
      {"00012", 12},
      {"2.675", 2.675},
      {"      123456789.1234", 123456789.1234},
      {"18446744073709551615", 18446744073709551615.0},
      {"1234567890123456789012345", 1234567890123456789012345.0},
      {"0.0000000000000000000000001", 1e-25},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    EXPECT_DOUBLE_EQ(parse_number(c.text), c.value);
    EXPECT_FALSE(std::signbit(parse_number(c.text)) && c.value == 0) << "negative zero";
  }
}

TEST(FieldCodecNumber, EncodesIntoNumericFieldsAndMarksOverflowWithStars) {
  auto e = encode(field('N', 6, 2), Value(-3.5));
  EXPECT_EQ(e.result, EncodeResult::Ok);
  EXPECT_EQ(e.bytes, " -3.50");

  e = encode(field('N', 5, 1), Value(1234.5));
  EXPECT_EQ(e.result, EncodeResult::DataWidth);
  EXPECT_EQ(e.bytes, "*****");

  e = encode(field('N', 4, 0), Value(std::nan("")));
  EXPECT_EQ(e.result, EncodeResult::DataWidth);
  EXPECT_EQ(e.bytes, "****");

  e = encode(field('F', 8, 3), Value(2.5));
  EXPECT_EQ(e.result, EncodeResult::Ok);
  EXPECT_EQ(e.bytes, "   2.500");

  EXPECT_EQ(decode_field(field('N', 6, 2), " -3.50"), Value(-3.5));
  EXPECT_EQ(decode_field(field('F', 5, 0), "*****"), Value(0.0));
  EXPECT_EQ(decode_field(field('N', 5, 0), "     "), Value(0.0));
}

// ---------------------------------------------------------------- text

TEST(FieldCodecText, PadsCutsAndKeepsBytesUntranslated) {
  auto e = encode(field('C', 8), Value("ABCDEFGHIJKLMNOPQRST"));
  EXPECT_EQ(e.result, EncodeResult::Ok);
  EXPECT_EQ(e.bytes, "ABCDEFGH");

  e = encode(field('C', 5), Value("\xA5\x86"));  // code page 852 letters stay as bytes
  EXPECT_EQ(e.bytes, "\xA5\x86   ");

  e = encode(field('C', 3), Value(""));
  EXPECT_EQ(e.bytes, "   ");

  EXPECT_EQ(decode_field(field('C', 5), "\xA5\x86 \0 "s), Value("\xA5\x86 \0 "s)) << "length and bytes kept";

  const std::string wide(300, 'x');
  e = encode(field('C', 300), Value(wide.substr(0, 299)));
  EXPECT_EQ(e.bytes, wide.substr(0, 299) + " ");
  EXPECT_EQ(decode_field(field('C', 300), e.bytes).text().size(), 300u);
}

// ---------------------------------------------------------------- dates

TEST(FieldCodecDate, ReadsByDigitPositionsAndInvalidIsEmpty) {
  const struct {
    std::string text;
    Date date;
  } cases[] = {
      {"20231231", Date::from_ymd(2023, 12, 31)},
      {"20240229", Date::from_ymd(2024, 2, 29)},
      {"00010101", Date::from_ymd(1, 1, 1)},
      {"99991231", Date::from_ymd(9999, 12, 31)},
      {"20230231", Date()},
      {"19000229", Date()},
      {"20231301", Date()},
      {"20230001", Date()},
      {"20230100", Date()},
      {"00000000", Date()},
      {"        ", Date()},
      {"2023 101", Date()},
      {"2023-1-1", Date()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("\"" + c.text + "\"");
    EXPECT_EQ(decode_field(field('D', 8), c.text), Value(c.date));
  }
}

TEST(FieldCodecDate, WritesDigitsOrBlanks) {
  auto e = encode(field('D', 8), Value(Date::from_ymd(2023, 2, 5)));
  EXPECT_EQ(e.result, EncodeResult::Ok);
  EXPECT_EQ(e.bytes, "20230205");

  e = encode(field('D', 8), Value(Date::from_ymd(7, 1, 1)));
  EXPECT_EQ(e.bytes, "00070101");

  e = encode(field('D', 8), Value(Date()));
  EXPECT_EQ(e.bytes, "        ");
}

TEST(FieldCodecDate, ThreeByteFormIsJulianDayNumber) {
  // 1 January 2000 is Julian day 2451545 = 0x256859.
  const std::string jan2000 = "\x59\x68\x25";
  EXPECT_EQ(decode_field(field('D', 3), jan2000), Value(Date::from_ymd(2000, 1, 1)));
  EXPECT_EQ(decode_field(field('D', 3), "\0\0\0"s), Value(Date()));
  EXPECT_EQ(decode_field(field('D', 3), "\xFF\xFF\xFF"), Value(Date())) << "beyond year 9999";
  EXPECT_EQ(decode_field(field('D', 3), "\x01\0\0"s), Value(Date())) << "before year 1";

  auto e = encode(field('D', 3), Value(Date::from_ymd(2000, 1, 1)));
  EXPECT_EQ(e.result, EncodeResult::Ok);
  EXPECT_EQ(e.bytes, jan2000);
  e = encode(field('D', 3), Value(Date()));
  EXPECT_EQ(e.bytes, "\0\0\0"s);
}

// ---------------------------------------------------------------- logicals

TEST(FieldCodecLogical, ReadsTtYyAsTrueAndWritesTOrF) {
  for (const char c : {'T', 't', 'Y', 'y'}) EXPECT_EQ(decode_field(field('L', 1), std::string(1, c)), Value(true)) << c;
  for (const char c : {'F', 'f', 'N', 'n', ' ', '?', '\0'})
    EXPECT_EQ(decode_field(field('L', 1), std::string(1, c)), Value(false)) << int(c);

  EXPECT_EQ(encode(field('L', 1), Value(true)).bytes, "T");
  EXPECT_EQ(encode(field('L', 1), Value(false)).bytes, "F");
}

// ---------------------------------------------------------------- memo block numbers

TEST(FieldCodecMemo, DecimalBlockNumberRightAlignedZeroIsBlank) {
  const FieldDescriptor memo = field('M', 10);
  EXPECT_EQ(decode_field(memo, "        17"), Value(17.0));
  EXPECT_EQ(decode_field(memo, "          "), Value(0.0));
  EXPECT_EQ(decode_field(memo, "4294967295"), Value(4294967295.0));

  EXPECT_EQ(encode(memo, Value(17)).bytes, "        17");
  EXPECT_EQ(encode(memo, Value(0)).bytes, "          ");
  EXPECT_EQ(encode(memo, Value(4294967295.0)).bytes, "4294967295");

  for (const double bad : {-1.0, 1.5, 4294967296.0}) {
    const auto e = encode(memo, Value(bad));
    EXPECT_EQ(e.result, EncodeResult::DataWidth) << bad;
    EXPECT_EQ(e.bytes, "##########") << "a bad block number leaves the field alone";
  }
}

TEST(FieldCodecMemo, FourByteFormIsBinaryLittleEndian) {
  const FieldDescriptor memo = field('M', 4);
  EXPECT_EQ(decode_field(memo, "\x11\0\0\0"s), Value(17.0));
  EXPECT_EQ(decode_field(memo, "\xFF\xFF\xFF\xFF"), Value(4294967295.0));
  EXPECT_EQ(encode(memo, Value(0x01020304)).bytes, "\x04\x03\x02\x01");
  EXPECT_EQ(encode(memo, Value(0)).bytes, "\0\0\0\0"s);
}

// ---------------------------------------------------------------- binary numbers

TEST(FieldCodecBinary, SignedIntegersOfEveryWidth) {
  const struct {
    char type;
    int width;
    std::string bytes;
    double value;
  } cases[] = {
      {'I', 1, "\xFF", -1},
      {'I', 1, "\x7F", 127},
      {'I', 2, "\x00\x80"s, -32768},
      {'I', 3, "\xFE\xFF\xFF", -2},
      {'I', 4, "\x01\x00\x00\x80"s, -2147483647},
      {'I', 4, "\x39\x30\x00\x00"s, 12345},
      {'I', 8, "\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF", -2},
      {'I', 8, "\x00\x00\x00\x00\x01\x00\x00\x00"s, 4294967296.0},
      {'I', 6, "\xFF\xFF\xFF\xFF\x05\x06"s, -1},  // other widths: the first 4 bytes
      {'2', 2, "\xFF\x7F", 32767},
      {'4', 4, "\x00\x00\x00\x80"s, -2147483648.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << c.width << " " << c.value);
    const FieldDescriptor f = field(c.type, c.width);
    EXPECT_EQ(decode_field(f, c.bytes), Value(c.value));
    const auto e = encode(f, Value(c.value));
    EXPECT_EQ(e.result, EncodeResult::Ok);
    EXPECT_EQ(e.bytes.substr(0, c.width == 6 ? 4 : c.width), c.bytes.substr(0, c.width == 6 ? 4 : c.width));
  }
}

TEST(FieldCodecBinary, IntegerOutOfRangeLeavesFieldAlone) {
  for (const double bad : {128.0, -129.0, 127.5}) {
    const auto e = encode(field('I', 1), Value(bad));
    EXPECT_EQ(e.result, EncodeResult::DataWidth) << bad;
    EXPECT_EQ(e.bytes, "#");
  }
  EXPECT_EQ(encode(field('I', 1), Value(-127.5)).bytes, "\x80") << "rounds half away from zero";
  EXPECT_EQ(encode(field('2', 2), Value(32768)).result, EncodeResult::DataWidth);
}

TEST(FieldCodecBinary, DoublesAreLittleEndianIeee) {
  const std::string one_and_half = "\0\0\0\0\0\0\xF8\x3F"s;
  for (const char type : {'B', '8'}) {
    EXPECT_EQ(decode_field(field(type, 8), one_and_half), Value(1.5));
    EXPECT_EQ(encode(field(type, 8), Value(1.5)).bytes, one_and_half);
    EXPECT_EQ(decode_field(field(type, 8), encode(field(type, 8), Value(-1e-300)).bytes), Value(-1e-300));
  }
}

TEST(FieldCodecBinary, ShortBytesOfADamagedRecordReadAsZero) {
  EXPECT_EQ(decode_field(field('B', 8), "\x01\x02"), Value(0.0));
  EXPECT_EQ(decode_field(field('I', 4), "\x01"), Value(0.0));
  EXPECT_EQ(decode_field(field('M', 4), ""), Value(0.0));
  EXPECT_EQ(decode_field(field('D', 3), "\x01"), Value(Date()));
  EXPECT_EQ(decode_field(field('L', 1), ""), Value(false));
}

// ---------------------------------------------------------------- types and blanks

TEST(FieldCodecTypes, WrongValueTypeIsDataTypeAndLeavesBytes) {
  const struct {
    FieldDescriptor f;
    Value v;
  } cases[] = {
      {field('C', 4), Value(1.0)},         {field('C', 4), Value(Date::from_ymd(2023, 1, 1))},
      {field('N', 4), Value("12")},        {field('F', 4), Value(true)},
      {field('D', 8), Value("20230101")},  {field('D', 3), Value(1.0)},
      {field('L', 1), Value("T")},         {field('L', 1), Value(1.0)},
      {field('M', 10), Value("memo text")}, {field('M', 4), Value(true)},
      {field('I', 4), Value("1")},         {field('B', 8), Value(Date())},
      {field('2', 2), Value(false)},       {field('4', 4), Value("x")},
      {field('N', 4), Value(ValueList{})}, {field('X', 4), Value("abcd")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.f.type << c.f.width << " <- " << c.v.type_letter());
    const auto e = encode(c.f, c.v);
    EXPECT_EQ(e.result, EncodeResult::DataType);
    EXPECT_EQ(e.bytes, std::string(static_cast<std::size_t>(c.f.width), '#'));
  }
}

TEST(FieldCodecTypes, BlankFieldsAreSpacesOrZerosAndReadAsEmpty) {
  const struct {
    FieldDescriptor f;
    char fill;
    Value empty;
  } cases[] = {
      {field('C', 4), ' ', Value("    ")}, {field('N', 5, 2), ' ', Value(0.0)}, {field('F', 5), ' ', Value(0.0)},
      {field('D', 8), ' ', Value(Date())}, {field('L', 1), ' ', Value(false)},  {field('M', 10), ' ', Value(0.0)},
      {field('D', 3), '\0', Value(Date())}, {field('M', 4), '\0', Value(0.0)}, {field('I', 4), '\0', Value(0.0)},
      {field('B', 8), '\0', Value(0.0)},   {field('8', 8), '\0', Value(0.0)},  {field('2', 2), '\0', Value(0.0)},
      {field('4', 4), '\0', Value(0.0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.f.type << c.f.width);
    std::string bytes(static_cast<std::size_t>(c.f.width), '#');
    blank_field(c.f, bytes.data());
    EXPECT_EQ(bytes, std::string(bytes.size(), c.fill));
    EXPECT_EQ(decode_field(c.f, bytes), c.empty);
  }
}

TEST(FieldCodecTypes, ValidTypeLettersAndWidths) {
  const struct {
    char type;
    int width;
    bool valid;
  } cases[] = {
      {'C', 1, true},   {'C', 65535, true}, {'C', 0, false},  {'N', 10, true},  {'N', 0, false},
      {'F', 20, true},  {'D', 8, true},     {'D', 3, true},   {'D', 6, false},  {'L', 1, true},
      {'L', 2, false},  {'M', 10, true},    {'M', 4, true},   {'M', 8, false},  {'I', 1, true},
      {'I', 6, true},   {'I', 0, false},    {'B', 8, true},   {'B', 4, false},  {'8', 8, true},
      {'2', 2, true},   {'2', 4, false},    {'4', 4, true},   {'X', 4, false},  {'c', 4, false},
      {'\0', 1, false}, {'0', 1, false},    {'G', 10, false}, {'T', 8, false},  {'@', 8, false},
  };
  for (const auto& c : cases) EXPECT_EQ(valid_field_type(c.type, c.width), c.valid) << c.type << c.width;
}

}  // namespace
}  // namespace intra
