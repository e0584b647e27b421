#include "storage/key_encoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "storage/fake_record.h"
#include "storage/field_codec.h"
#include "storage/key_expression.h"

namespace intra {
namespace {

using testing::FakeRecord;
using testing::shown;

KeyShape numeric(int size, int decimals = 0) { return KeyShape{KeyType::Numeric, size, decimals}; }

TEST(KeyEncoding, NumbersAreStoredAsDigitsWhoseBytesSortLikeTheNumbers) {
  struct Case {
    double value;
    int size, decimals;
    const char* key;
  };
  const Case cases[] = {
      {-5, 5, 0, ",,,,'"},      {-10, 5, 0, ",,,+,"},      {5, 5, 0, "00005"},
      {0, 5, 0, "00000"},       {-0.001, 6, 2, "000.00"},   {12.5, 7, 2, "0012.50"},
      {-12.5, 7, 2, ",,+*.',"}, {-9999, 5, 0, ",####"},     {99999, 5, 0, "99999"},
      {123456, 5, 0, "*****"},  {-12345, 5, 0, "*****"},    {2.675, 6, 2, "002.68"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(encode_key(Value(c.value), numeric(c.size, c.decimals)), c.key);
    EXPECT_EQ(encode_search_key(Value(c.value), numeric(c.size, c.decimals)), c.key);
  }
}

TEST(KeyEncoding, NumericKeysReadBackAsTheirNumbers) {
  EXPECT_EQ(shown(decode_numeric_key(",,,,'")), shown(Value(-5.0)));
  EXPECT_EQ(shown(decode_numeric_key(",,,+,")), shown(Value(-10.0)));
  EXPECT_EQ(shown(decode_numeric_key("00005")), shown(Value(5.0)));
  EXPECT_EQ(shown(decode_numeric_key("0012.50")), shown(Value(12.5)));
  EXPECT_EQ(shown(decode_numeric_key(",,+*.',")), shown(Value(-12.5)));
  EXPECT_EQ(shown(decode_numeric_key("")), shown(Value(0.0)));
}

// Property: over random numbers of both signs, with and without decimals,
// the byte order of the keys is the order of the numbers as the key stores
// them (rounded to its decimals), and every key reads back as that number.
TEST(KeyEncoding, RandomNumbersSortByTheirKeyBytes) {
  std::mt19937 random(1464);
  for (const auto& [size, decimals] : std::vector<std::pair<int, int>>{{5, 0}, {10, 2}, {15, 2}, {8, 3}}) {
    SCOPED_TRACE(std::to_string(size) + "," + std::to_string(decimals));
    const int places = decimals > 0 ? size - decimals - 1 : size;
    const double top = std::pow(10.0, places - 1) - 1;  // room for the minus sign
    std::uniform_real_distribution<double> magnitude(-top, top);
    struct Entry {
      double stored;
      std::string key;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < 2000; ++i) {
      double v = magnitude(random);
      if (i % 3 == 0) v = std::trunc(v / 1000.0);  // small values and many equal ones
      const double stored = parse_number(*format_number(v, size, decimals));
      const std::string key = encode_key(Value(v), numeric(size, decimals));
      ASSERT_EQ(key.size(), static_cast<std::size_t>(size));
      ASSERT_EQ(shown(decode_numeric_key(key)), shown(Value(stored))) << key;
      entries.push_back({stored, key});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.key < b.key; });
    for (std::size_t i = 1; i < entries.size(); ++i)
      ASSERT_LE(entries[i - 1].stored, entries[i].stored) << entries[i - 1].key << " before " << entries[i].key;
  }
}

TEST(KeyEncoding, TextsDatesAndLogicalsTakeTheirFixedForms) {
  const KeyShape text10{KeyType::Character, 10, 0};
  const KeyShape date{KeyType::Date, 8, 0};
  const KeyShape logical{KeyType::Logical, 1, 0};
  EXPECT_EQ(encode_key(Value("ABC"), text10), "ABC       ");
  EXPECT_EQ(encode_key(Value("ABCDEFGHIJKL"), text10), "ABCDEFGHIJ");
  EXPECT_EQ(encode_key(Value("\xA5\xBE"), text10), "\xA5\xBE        ");
  EXPECT_EQ(encode_key(Value(Date::from_ymd(2024, 5, 17)), date), "20240517");
  EXPECT_EQ(encode_key(Value(Date()), date), "        ");
  EXPECT_EQ(encode_key(Value(true), logical), "T");
  EXPECT_EQ(encode_key(Value(false), logical), "F");
  // A value of another type than the index's is stored blank, at full size.
  EXPECT_EQ(encode_key(Value(5.0), text10), std::string(10, ' '));
  EXPECT_EQ(encode_key(Value("5"), numeric(5)), "     ");

  char buffer[12];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  encode_key_into(Value("AB"), text10, buffer);
  EXPECT_EQ(std::string(buffer, 12), "AB        ##");
}

TEST(KeyEncoding, ShortTextSearchKeysKeepTheirLengthForPrefixSeeks) {
  const KeyShape text10{KeyType::Character, 10, 0};
  EXPECT_EQ(encode_search_key(Value("AB"), text10), "AB");
  EXPECT_EQ(encode_search_key(Value(""), text10), "");
  EXPECT_EQ(encode_search_key(Value("ABCDEFGHIJKL"), text10), "ABCDEFGHIJ");
  EXPECT_EQ(encode_search_key(Value(Date()), KeyShape{KeyType::Date, 8, 0}), "        ");
  // "AB" begins the stored key of "ABC": the tree compares over the shorter length.
  const std::string stored = encode_key(Value("ABC"), text10);
  EXPECT_EQ(stored.compare(0, 2, encode_search_key(Value("AB"), text10)), 0);
}

TEST(KeyEncoding, ShapeComesFromTheValueOnABlankRecord) {
  struct Case {
    Value blank;
    int width, decimals;
    std::optional<KeyShape> shape;
    KeyShapeFault fault;
  };
  const Case cases[] = {
      {Value(std::string(15, ' ')), 0, 0, KeyShape{KeyType::Character, 15, 0}, KeyShapeFault::None},
      {Value(std::string(300, ' ')), 0, 0, KeyShape{KeyType::Character, 256, 0}, KeyShapeFault::None},
      {Value(""), 0, 0, std::nullopt, KeyShapeFault::DataWidth},
      {Value(0.0), 7, 0, KeyShape{KeyType::Numeric, 7, 0}, KeyShapeFault::None},
      {Value(0.0), 15, 2, KeyShape{KeyType::Numeric, 15, 2}, KeyShapeFault::None},
      {Value(0.0), 0, 0, std::nullopt, KeyShapeFault::DataWidth},
      {Value(0.0), 257, 0, std::nullopt, KeyShapeFault::DataWidth},
      {Value(Date()), 0, 0, KeyShape{KeyType::Date, 8, 0}, KeyShapeFault::None},
      {Value(false), 0, 0, KeyShape{KeyType::Logical, 1, 0}, KeyShapeFault::None},
      {Value(ValueList{}), 0, 0, std::nullopt, KeyShapeFault::DataType},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(key_shape_of(c.blank, c.width, c.decimals), c.shape);
    EXPECT_EQ(key_shape_fault(c.blank, c.width), c.fault);
  }
}

// A numeric key without STR: the shape follows the fields of the expression.
TEST(KeyEncoding, NumericExpressionKeysAreAsWideAsTheirFields) {
  FakeRecord record;
  record.number("ILOSC", 0, 7).number("OBWN", 0, 12, 2).number("OBMA", 0, 10, 2);
  for (const auto& [text, shape] : std::vector<std::pair<const char*, KeyShape>>{
           {"ILOSC", numeric(7)}, {"DESCEND(ILOSC)", numeric(7)}, {"obwn+obma", numeric(12, 2)}}) {
    std::string problem;
    const auto key = KeyExpression::compile(text, record, problem);
    ASSERT_NE(key, nullptr) << problem;
    const NumericLayout layout = key->numeric_layout();
    EXPECT_EQ(key_shape_of(key->evaluate(record), layout.width, layout.decimals), shape) << text;
  }
  record.set("ILOSC", Value(-5.0));
  std::string problem;
  const auto key = KeyExpression::compile("DESCEND(ILOSC)", record, problem);
  ASSERT_NE(key, nullptr) << problem;
  EXPECT_EQ(encode_key(key->evaluate(record), numeric(7)), "0000005");
}

// DESCEND inside an ascending key: for every key type, the encoded keys of
// DESCEND(x) sort in the reverse order of x.
TEST(KeyEncoding, DescendKeysSortInReverse) {
  std::mt19937 random(5231808);
  struct Sample {
    Value value;
    std::string ascending;   // key of x
    std::string descending;  // key of DESCEND(x)
  };
  const auto check = [&](const char* field, const KeyShape& shape, const KeyShape& descend_shape,
                         const std::vector<Value>& values) {
    SCOPED_TRACE(field);
    FakeRecord record;
    record.text("T", "").number("N", 0, 9, 2).date("D", Date()).logical("L", false);
    std::string problem;
    const auto descend = KeyExpression::compile(std::string("DESCEND(") + field + ")", record, problem);
    ASSERT_NE(descend, nullptr) << problem;
    std::vector<Sample> samples;
    for (const Value& v : values) {
      record.set(field, v);
      samples.push_back({v, encode_key(v, shape), encode_key(descend->evaluate(record), descend_shape)});
    }
    std::sort(samples.begin(), samples.end(),
              [](const Sample& a, const Sample& b) { return a.ascending < b.ascending; });
    for (std::size_t i = 1; i < samples.size(); ++i) {
      if (samples[i - 1].ascending == samples[i].ascending) {
        EXPECT_EQ(samples[i - 1].descending, samples[i].descending);
      } else {
        EXPECT_GT(samples[i - 1].descending, samples[i].descending)
            << samples[i - 1].ascending << " / " << samples[i].ascending;
      }
    }
  };

  std::vector<Value> texts, numbers, dates, logicals{Value(true), Value(false)};
  for (int i = 0; i < 300; ++i) {
    std::string text(6, ' ');
    for (char& c : text) c = static_cast<char>(random() % 3 == 0 ? ' ' : 1 + random() % 255);
    texts.emplace_back(text);
    numbers.emplace_back(static_cast<double>(static_cast<int>(random() % 2000001) - 1000000) / 100.0);
    dates.emplace_back(Date::from_day_number(static_cast<std::int32_t>(2415021 + random() % 73000)));
  }
  check("T", KeyShape{KeyType::Character, 6, 0}, KeyShape{KeyType::Character, 6, 0}, texts);
  check("N", numeric(9, 2), numeric(9, 2), numbers);
  check("D", KeyShape{KeyType::Date, 8, 0}, numeric(10), dates);
  check("L", KeyShape{KeyType::Logical, 1, 0}, KeyShape{KeyType::Logical, 1, 0}, logicals);
}

}  // namespace
}  // namespace intra
