#include <gtest/gtest.h>

#include "storage/field_spec_string.h"

namespace intra {
namespace {

std::string describe(const std::vector<FieldSpec>& fields) {
  std::string s;
  for (const FieldSpec& f : fields)
    s += f.name + " " + f.type + " " + std::to_string(f.width) + " " + std::to_string(f.decimals) + ";";
  return s;
}

struct GoodCase {
  const char* text;
  const char* path;
  const char* fields;  // as describe() writes them
};

class FieldSpecAccepted : public ::testing::TestWithParam<GoodCase> {};

TEST_P(FieldSpecAccepted, GivesPathAndFields) {
  std::string problem;
  const auto parsed = parse_field_spec_string(GetParam().text, problem);
  ASSERT_TRUE(parsed) << problem;
  EXPECT_EQ(parsed->path, GetParam().path);
  EXPECT_EQ(describe(parsed->fields), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldSpecAccepted,
    ::testing::Values(
        // The program's own form: names padded to 10, numbers right-aligned in 3.
        GoodCase{"as,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0", "as", "MAG C 1 0;INDEKS C 8 0;"},
        GoodCase{"as,MAG,C,1,0,INDEKS,C,8,0,", "as", "MAG C 1 0;INDEKS C 8 0;"},  // trailing comma
        GoodCase{"24\\05\\dowod,NR_DOK,N,10,2,DATA,D,8,0", "24\\05\\dowod", "NR_DOK N 10 2;DATA D 8 0;"},
        GoodCase{" t , cena , n , 12 , 3 ", "t", "CENA N 12 3;"},  // blanks anywhere around entries
        GoodCase{"t,OPIS,M,10,0,OK,L,1,0,X1,c,300,0", "t", "OPIS M 10 0;OK L 1 0;X1 C 300 0;"}));

struct BadCase {
  const char* text;
  const char* problem;  // a part of the message
};

class FieldSpecRefused : public ::testing::TestWithParam<BadCase> {};

TEST_P(FieldSpecRefused, SaysWhy) {
  std::string problem;
  EXPECT_FALSE(parse_field_spec_string(GetParam().text, problem));
  EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldSpecRefused,
    ::testing::Values(BadCase{"", "no table name"},
                      BadCase{",A,C,1,0", "no table name"},
                      BadCase{"t", "no field"},
                      BadCase{"t,", "no field"},
                      BadCase{"t,A,C,8", "3 entries after the table name; each field needs 4"},
                      BadCase{"t,A,C,8,0,B", "5 entries"},
                      BadCase{"t,A,C,8,0,,", "6 entries"},  // one trailing comma only
                      BadCase{"t,A,X,8,0", "field 1 (A): type \"X\" is not one of C N F D L M"},
                      BadCase{"t,A,CC,8,0", "type \"CC\""},
                      BadCase{"t,A,,8,0", "type \"\""},
                      BadCase{"t,A,C,8,0,B,N,1O,0", "field 2 (B): width \"1O\" is not a number"},
                      BadCase{"t,A,N,8,-1", "decimals \"-1\" is not a number"},
                      BadCase{"t,A,C,,0", "width \"\" is not a number"},
                      BadCase{"t,A,C,99999999999,0", "out of range"},
                      BadCase{"t,  ,C,8,0", "field 1: no name"},
                      BadCase{"t,NAZWA_DLUGA,C,8,0", "longer than 10 characters"},
                      BadCase{"t,1A,C,8,0", "does not start with a letter"},
                      BadCase{"t,NA ZWA,C,8,0", "other than letters, digits and _"},
                      BadCase{"t,nr,N,5,0,NR,C,2,0", "field 2 (NR): the name is used twice"}));

}  // namespace
}  // namespace intra
