#include <gtest/gtest.h>

#include <sstream>

#include "storage/dbtool/csv.h"

namespace intra::dbtool {
namespace {

using Records = std::vector<std::vector<std::string>>;

struct ReadCase {
  std::string input;
  Records records;
  std::vector<int> lines;  // where each record starts
};

class DbtoolCsvRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(DbtoolCsvRead, SplitsRecordsAndValues) {
  std::istringstream in(GetParam().input);
  CsvReader reader(in);
  Records records;
  std::vector<int> lines;
  std::vector<std::string> values;
  while (reader.next(values)) {
    records.push_back(values);
    lines.push_back(reader.record_line());
  }
  EXPECT_EQ(reader.problem(), "");
  EXPECT_EQ(records, GetParam().records);
  EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DbtoolCsvRead,
    ::testing::Values(
        ReadCase{"a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
        ReadCase{"a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},  // CR LF, no final line end
        ReadCase{"\"x,y\",\"say \"\"hi\"\"\"\n", {{"x,y", "say \"hi\""}}, {1}},
        // A quoted line break belongs to the value; the next record starts two lines on.
        ReadCase{"\"one\r\ntwo\",3\n4,5\n", {{"one\r\ntwo", "3"}, {"4", "5"}}, {1, 3}},
        ReadCase{",\n\"\"\n", {{"", ""}, {""}}, {1, 2}},
        ReadCase{"a\n\n\r\nb\n", {{"a"}, {"b"}}, {1, 4}},  // empty lines are no records
        ReadCase{"a\rb,c\n", {{"a\rb", "c"}}, {1}},       // a lone CR is data
        ReadCase{"\rx\n", {{"\rx"}}, {1}},
        ReadCase{" padded ,\"\xA5\x88\"\n", {{" padded ", "\xA5\x88"}}, {1}},  // bytes pass unchanged
        ReadCase{"", {}, {}}));

struct BadCase {
  std::string input;
  int line;
  std::string problem;
};

class DbtoolCsvMalformed : public ::testing::TestWithParam<BadCase> {};

TEST_P(DbtoolCsvMalformed, StopsWithTheLineAndTheReason) {
  std::istringstream in(GetParam().input);
  CsvReader reader(in);
  std::vector<std::string> values;
  while (reader.next(values)) {
  }
  EXPECT_EQ(reader.record_line(), GetParam().line);
  EXPECT_EQ(reader.problem(), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DbtoolCsvMalformed,
    ::testing::Values(BadCase{"a\n\"open\nnever closed\n", 2, "a quoted value is not closed before the end of the file"},
                      BadCase{"a\nb\n\"x\"y\n", 3, "text after the closing quote of a value"},
                      BadCase{"ab\"c\n", 1, "a quote inside a value that does not start with one"}));

TEST(DbtoolCsvWrite, QuotesOnlyWhatNeedsItAndReadsBackTheSame) {
  const Records records = {{"plain", "a,b", "say \"hi\"", "two\nlines", " lead", "trail ", "", "cr\r"},
                           {""}};
  std::ostringstream out;
  CsvWriter writer(out);
  for (const auto& r : records) writer.write(r);
  EXPECT_EQ(out.str(),
            "plain,\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\" lead\",\"trail \",,\"cr\r\"\n"
            "\"\"\n");

  std::istringstream in(out.str());
  CsvReader reader(in);
  Records back;
  std::vector<std::string> values;
  while (reader.next(values)) back.push_back(values);
  EXPECT_EQ(back, records);
}

}  // namespace
}  // namespace intra::dbtool
