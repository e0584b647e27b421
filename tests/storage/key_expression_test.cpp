#include "storage/key_expression.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "storage/fake_record.h"
#include "storage/field_codec.h"

namespace intra {
namespace {

using testing::FakeRecord;
using testing::shown;

// One record holding every field the key texts of the system read, with
// values chosen so that each function and operator of the keys shows.
FakeRecord system_record() {
  FakeRecord r("FA_NX");
  r.text("MAG", "1").text("INDEKS", "AB-12   ").text("ODB", "KOW01     ").text("REGON", "123456789 ");
  r.text("RD", "FV ").text("NRD", "  42").text("LP", "  1").date("DATA", Date::from_ymd(2024, 5, 17));
  r.text("R_P", "P").text("S_Z", "S").text("ODBIORC1", "\xBE" "abka \xA5");  // CP852 z-dot, a-ogonek
  r.text("KTO", "O").text("TRESC", "Zaplata za fakture 12");
  r.number("OBWN", 100.25, 12, 2).number("OBMA", 20.5, 12, 2);
  r.date("R_DATA", Date::from_ymd(2024, 5, 2)).text("R_CZAS", "12:30:00").text("ZAP", "X");
  r.text("NRKON", "201").text("WALUTA", "EUR").number("CENA", 12.345, 10, 2).text("KOD13", "590001");
  r.text("NAZWA", "Mleko").text("SUR", "S1").date("DATA_PZ", Date::from_ymd(2023, 12, 31));
  r.text("T_W_O_K", "T1").number("CENA2", 7.5, 10, 2).text("ATEST", "04011000").text("KOD13DISP", "590002");
  r.text("JEZYK", "A").text("X", "X").date("DATA_P", Date::from_ymd(2024, 1, 9)).text("PARTIA", "P001");
  r.text("WW", "1").text("KIER", "UE ").text("ZAM_RD", "ZAM").text("ZAM_NRD", "   7");
  r.date("ZAM_DATA", Date::from_ymd(2024, 4, 30)).text("KODPASK", "590003").text("RODZAJ", "R");
  r.text("KODKRAJU_W", "DE").text("KODKRAJU_P", "CN").text("KOD", "0401").text("PCN", "0402");
  r.text("KODTOWARU", "04011000");
  r.recno(17);
  return r;
}

struct KeyCase {
  const char* text;
  std::string expected;
  std::vector<std::pair<std::string, Value>> changes = {};
};

// Every key text the system writes into an index file, with the key of the
// system record (after `changes`).
const std::vector<KeyCase>& system_keys() {
  static const std::vector<KeyCase> cases = {
      {"mag+indeks", "1AB-12   "},
      {"odb", "KOW01     "},
      {"regon+STR(RECNO(),4)", "123456789   17"},
      {"rd+nrd+lp", "FV   42  1"},
      {"DTOS(data)+IIF(r_p=\"P\",\"A\",r_p)+s_z+rd+nrd+lp", "20240517ASFV   42  1"},
      {"DTOS(data)+IIF(r_p=\"P\",\"A\",r_p)+s_z+rd+nrd+lp", "20240517RSFV   42  1", {{"R_P", Value("R")}}},
      {"DTOS(data)+mag+indeks", "202405171AB-12   "},
      {"rd+nrd+STR(RECNO(),6)", "FV   42    17"},
      {"DTOS(data)+r_p+s_z+rd+nrd+STR(RECNO(),6)", "20240517PSFV   42    17"},
      {"UPPER(odbiorc1)+STR(RECNO(),5)", "\xBE" "ABKA \xA5" "   17"},
      {"rd", "FV "},
      {"kto+odb+IIF(mag<>\"0\",rd+\"-\"+nrd,SUBSTR(tresc,1,12))+STR(obwn+obma,15,2)+STR(RECNO(),6)",
       "OKOW01     FV -  42         120.75    17"},
      {"kto+odb+IIF(mag<>\"0\",rd+\"-\"+nrd,SUBSTR(tresc,1,12))+STR(obwn+obma,15,2)+STR(RECNO(),6)",
       "OKOW01     Zaplata za f         120.75    17", {{"MAG", Value("0")}}},
      {"DTOS(r_data)+r_czas+fa_nx->zap+STR(RECNO(),6)", "2024050212:30:00X    17"},
      {"nrkon", "201"},
      {"waluta", "EUR"},
      {"mag+indeks+STR(cena,10,2)+lp", "1AB-12        12.35  1"},
      {"mag+indeks+lp", "1AB-12     1"},
      {"DESCEND(kod13+mag)", "\xCB\xC7\xD0\xD0\xD0\xCF\xCF"},
      {"DESCEND(kod13)+mag+indeks", "\xCB\xC7\xD0\xD0\xD0\xCF" "1AB-12   "},
      {"DESCEND(kod13)", "\xCB\xC7\xD0\xD0\xD0\xCF"},
      {"indeks+mag", "AB-12   1"},
      {"nazwa", "Mleko"},
      {"sur+mag+indeks", "S11AB-12   "},
      {"mag+sur+DTOS(data_pz)+STR(RECNO(),6)", "1S120231231    17"},
      {"t_w_o_k+nazwa+mag+indeks", "T1Mleko1AB-12   "},
      {"t_w_o_k+mag+indeks", "T11AB-12   "},
      {"mag+STR(cena2,7,2)", "1   7.50"},
      {"atest+mag+indeks", "040110001AB-12   "},
      {"mag", "1"},
      {"kod13disp", "590002"},
      {"kod13", "590001"},
      {"waluta+DESCEND(DTOS(data))", "EUR\xCE\xD0\xCE\xCC\xD0\xCB\xCF\xC9"},
      {"DESCEND(DTOS(data))+waluta", "\xCE\xD0\xCE\xCC\xD0\xCB\xCF\xC9" "EUR"},
      {"DESCEND(DTOS(data))", "\xCE\xD0\xCE\xCC\xD0\xCB\xCF\xC9"},
      {"jezyk", "A"},
      {"jezyk+mag+indeks", "A1AB-12   "},
      {"mag+indeks+x+DESCEND(DTOS(data_p))+STR(RECNO(),6)", "1AB-12   X\xCE\xD0\xCE\xCC\xD0\xCF\xD0\xC7    17"},
      {"mag+indeks+partia", "1AB-12   P001"},
      {"odb+mag+indeks", "KOW01     1AB-12   "},
      {"odb+rd+nrd+lp", "KOW01     FV   42  1"},
      {"odb+rd+nrd+DTOS(data)+lp", "KOW01     FV   4220240517  1"},
      {"odb+rd+nrd", "KOW01     FV   42"},
      {"odb+rd+nrd+DTOS(data)", "KOW01     FV   4220240517"},
      {"ww+kier+odb+rd+nrd", "1UE KOW01     FV   42"},
      {"ww+odb+rd+nrd", "1KOW01     FV   42"},
      {"rd+nrd+odb+DTOS(data)", "FV   42KOW01     20240517"},
      {"odb+zam_rd+zam_nrd+DTOS(zam_data)", "KOW01     ZAM   720240430"},
      {"DTOS(data)+rd+nrd", "20240517FV   42"},
      {"kodpask", "590003"},
      {"rd+nrd", "FV   42"},
      {"rd+nrd+DTOS(data)", "FV   4220240517"},
      {"odb+DESCEND(STR(RECNO(),5))", "KOW01     \xE0\xE0\xE0\xCF\xC9"},
      {"jezyk+rodzaj", "AR"},
      {"mag+indeks+kodkraju_w", "1AB-12   DE"},
      {"mag+indeks+kodkraju_p", "1AB-12   CN"},
      {"kod", "0401"},
      {"pcn", "0402"},
      {"kodtowaru+kodkraju_w", "04011000DE"},
      {"kodtowaru+kodkraju_p", "04011000CN"},
  };
  return cases;
}

Value evaluate_clean(std::string_view text, FakeRecord& record) {
  std::string problem;
  const auto expression = KeyExpression::compile(text, record, problem);
  EXPECT_NE(expression, nullptr) << problem;
  if (!expression) return Value();
  EvaluationFault fault;
  Value v = expression->evaluate(record, fault);
  EXPECT_TRUE(fault.ok()) << expression->describe(fault);
  return v;
}

std::string compile_problem(std::string_view text, FakeRecord& record) {
  std::string problem;
  const auto expression = KeyExpression::compile(text, record, problem);
  EXPECT_EQ(expression, nullptr) << "compiled: " << text.substr(0, 80);
  return problem;
}

TEST(KeyExpression, EveryKeyTextOfTheSystemGivesItsKey) {
  for (const KeyCase& c : system_keys()) {
    SCOPED_TRACE(c.text);
    FakeRecord record = system_record();
    for (const auto& [name, value] : c.changes) record.set(name, value);
    EXPECT_EQ(shown(evaluate_clean(c.text, record)), shown(Value(c.expected)));
  }
}

TEST(KeyExpression, KeepsItsTextAndReadsTheRecordOnEveryEvaluation) {
  FakeRecord record = system_record();
  std::string problem;
  const auto key = KeyExpression::compile("rd+nrd+STR(RECNO(),6)", record, problem);
  ASSERT_NE(key, nullptr) << problem;
  EXPECT_EQ(key->text(), "rd+nrd+STR(RECNO(),6)");
  EXPECT_EQ(shown(key->evaluate(record)), shown(Value("FV   42    17")));
  record.set("NRD", Value("9999"));
  record.recno(123456);
  EXPECT_EQ(shown(key->evaluate(record)), shown(Value("FV 9999123456")));
}

TEST(KeyExpression, NamesAreReadInAnyCaseAndAliasesWithBlanksAroundTheArrow) {
  FakeRecord record = system_record();
  record.text("NAZWA", "obcy", "AS");
  for (const char* text : {"FA_NX->ZAP", "fa_nx -> zap", "Fa_Nx->Zap", "zap"})
    EXPECT_EQ(shown(evaluate_clean(text, record)), shown(Value("X"))) << text;
  EXPECT_EQ(shown(evaluate_clean("as->nazwa", record)), shown(Value("obcy")));
  EXPECT_EQ(shown(evaluate_clean("nazwa", record)), shown(Value("Mleko")));
  // Field names have 10 significant characters.
  EXPECT_EQ(shown(evaluate_clean("kodkraju_wxyz", record)), shown(Value("DE")));
}

TEST(KeyExpression, FunctionNamesMayBeAbbreviatedToFourLettersWhenUnambiguous) {
  FakeRecord record = system_record();
  EXPECT_EQ(shown(evaluate_clean("desc(kod13)", record)), shown(evaluate_clean("DESCEND(kod13)", record)));
  EXPECT_EQ(shown(evaluate_clean("Subs(tresc,1,7)", record)), shown(Value("Zaplata")));
  EXPECT_EQ(shown(evaluate_clean("UPPE(nazwa)+Dtos(data)", record)), shown(Value("MLEKO20240517")));
  EXPECT_EQ(shown(evaluate_clean("ALLT(\"  a  \")+RTRI(\"b \")+LTRI(\" c\")", record)), shown(Value("abc")));
  EXPECT_EQ(compile_problem("SUB(tresc,1)", record), "unknown function SUB in key SUB(tresc,1)");
  EXPECT_EQ(compile_problem("DESCENDING(kod13)", record), "unknown function DESCENDING in key DESCENDING(kod13)");
}

// Exact comparison is off: a = b holds when b is a prefix of a.
TEST(KeyExpression, TextEqualityComparesOverTheLengthOfTheRightOperand) {
  struct Case {
    const char* left;
    const char* right;
    bool equal, exact_equal, less, greater;
  };
  const Case cases[] = {
      {"ABC", "AB", true, false, false, false},   {"AB", "ABC", false, false, true, false},
      {"ABC", "", true, false, false, false},     {"", "", true, true, false, false},
      {"", "A", false, false, true, false},       {"ABC", "ABC", true, true, false, false},
      {"ABC", "ABD", false, false, true, false},  {" ", "0", false, false, true, false},
      {"\xA5", "a", false, false, false, true},   {"AB ", "AB", true, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.left) + " vs " + c.right);
    FakeRecord record;
    record.text("A", c.left).text("B", c.right);
    EXPECT_EQ(shown(evaluate_clean("a = b", record)), shown(Value(c.equal)));
    EXPECT_EQ(shown(evaluate_clean("a <> b", record)), shown(Value(!c.equal)));
    EXPECT_EQ(shown(evaluate_clean("a # b", record)), shown(Value(!c.equal)));
    EXPECT_EQ(shown(evaluate_clean("a != b", record)), shown(Value(!c.equal)));
    EXPECT_EQ(shown(evaluate_clean("a == b", record)), shown(Value(c.exact_equal)));
    EXPECT_EQ(shown(evaluate_clean("a < b", record)), shown(Value(c.less)));
    EXPECT_EQ(shown(evaluate_clean("a > b", record)), shown(Value(c.greater)));
    EXPECT_EQ(shown(evaluate_clean("a >= b", record)), shown(Value(!c.less)));
    EXPECT_EQ(shown(evaluate_clean("a <= b", record)), shown(Value(!c.greater)));
  }
}

struct ValueCase {
  const char* text;
  Value expected;
};

FakeRecord function_record() {
  FakeRecord r;
  r.text("S", "abcde").text("B", "  ab  ").text("T", "ab  ").text("U", "cd").text("BLANK", "   ");
  r.number("N51", 2.25, 5, 1).number("N7", 1234567, 7).number("N82", 3.5, 8, 2).number("NEG", -7, 4);
  r.date("D", Date::from_ymd(2000, 1, 1)).date("EMPTY", Date()).logical("YES", true);
  r.recno(42);
  return r;
}

TEST(KeyExpression, FunctionsAndOperatorsGiveTheClassicResults) {
  const ValueCase cases[] = {
      // STR: default width 10, carried layout without a width, stars when too wide,
      // rounding half away from zero on the decimal value
      {"STR(5)", Value("         5")},
      {"STR(n51)", Value("  2.3")},
      {"STR(n7)", Value("1234567")},
      {"STR(RECNO())", Value("     42")},
      {"STR(1.5)", Value("         1.5")},
      {"STR(12, 2)", Value("12")},
      {"STR(123, 2)", Value("**")},
      {"STR(123456, 5)", Value("*****")},
      {"STR(1.5, 5)", Value("    2")},
      {"STR(-1.5, 5)", Value("   -2")},
      {"STR(-1.5, 5, 1)", Value(" -1.5")},
      {"STR(2.675, 6, 2)", Value("  2.68")},
      {"STR(-2.675, 6, 2)", Value(" -2.68")},
      {"STR(1.005, 6, 2)", Value("  1.01")},
      {"STR(0.125, 5, 2)", Value(" 0.13")},
      {"STR(-0.001, 5, 2)", Value(" 0.00")},
      {"STR(7, 3, 5)", Value("***")},
      {"STR(n82, 6)", Value("     4")},
      // SUBSTR: 1-based; 0 counts as 1; negative from the end; beyond the end ""
      {"SUBSTR(s, 1, 2)", Value("ab")},
      {"SUBSTR(s, 0, 2)", Value("ab")},
      {"SUBSTR(s, 2)", Value("bcde")},
      {"SUBSTR(s, -2)", Value("de")},
      {"SUBSTR(s, -2, 1)", Value("d")},
      {"SUBSTR(s, -10, 2)", Value("ab")},
      {"SUBSTR(s, 5)", Value("e")},
      {"SUBSTR(s, 6)", Value("")},
      {"SUBSTR(s, 2, 100)", Value("bcde")},
      {"SUBSTR(s, 2, 0)", Value("")},
      {"SUBSTR(s, 2, -1)", Value("")},
      {"SUBSTR(s, 2.9, 1.9)", Value("b")},
      {"LEFT(s, 2)", Value("ab")},
      {"LEFT(s, 9)", Value("abcde")},
      {"LEFT(s, -1)", Value("")},
      {"RIGHT(s, 2)", Value("de")},
      {"RIGHT(s, 9)", Value("abcde")},
      {"RIGHT(s, 0)", Value("")},
      {"TRIM(b)", Value("  ab")},
      {"RTRIM(b)", Value("  ab")},
      {"LTRIM(b)", Value("ab  ")},
      {"ALLTRIM(b)", Value("ab")},
      {"ALLTRIM(blank)", Value("")},
      {"VAL(\" 12.5x\")", Value(12.5)},
      {"VAL(\"-3\")", Value(-3.0)},
      {"VAL(\"abc\")", Value(0.0)},
      {"DTOS(d)", Value("20000101")},
      {"DTOS(empty)", Value("        ")},
      // DESCEND: text bytes to (256 - b) mod 256, dates to 5231808 - day number
      {"DESCEND(\"AB \")", Value("\xBF\xBE\xE0")},
      {"DESCEND(\"\")", Value("")},
      {"DESCEND(d)", Value(5231808.0 - 2451545.0)},
      {"DESCEND(n51)", Value(-2.25)},
      {"DESCEND(neg)", Value(7.0)},
      {"DESCEND(yes)", Value(false)},
      {"DESCEND(.F.)", Value(true)},
      // + and -
      {"t + u", Value("ab  cd")},
      {"t - u", Value("abcd  ")},
      {"blank - u", Value("cd   ")},
      {"t - u - \"e\"", Value("abcde  ")},
      {"n51 + n82", Value(5.75)},
      {"n51 - n82 - 1", Value(-2.25)},
      {"-n51", Value(-2.25)},
      {"- -n51", Value(2.25)},
      {"+n51", Value(2.25)},
      {"d + 31", Value(Date::from_ymd(2000, 2, 1))},
      {"1 + d", Value(Date::from_ymd(2000, 1, 2))},
      {"d - 1", Value(Date::from_ymd(1999, 12, 31))},
      {"(d + 10) - d", Value(10.0)},
      {"empty + 5", Value(Date())},
      // logic, IIF and literals
      {".T. .AND. .F.", Value(false)},
      {".t. .or. .f.", Value(true)},
      {".NOT. .F.", Value(true)},
      {"!yes", Value(false)},
      {"!(s = \"ab\") .OR. n7 > 5 .AND. .Y.", Value(true)},
      {"IIF(n51 > 2, \"big\", \"small\")", Value("big")},
      {"IF(yes, 1, 2)", Value(1.0)},
      {"'single' + \"double\"", Value("singledouble")},
      {".5 + 1", Value(1.5)},
      {"d = d + 0", Value(true)},
      {"n7 == 1234567", Value(true)},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.text);
    FakeRecord record = function_record();
    EXPECT_EQ(shown(evaluate_clean(c.text, record)), shown(c.expected));
  }
}

// STR and DTOS write exactly the bytes a numeric or date field of the same
// width holds, for whole numbers and fractions, at every sign and width.
TEST(KeyExpression, StrAndDtosWriteWhatTableFieldsHold) {
  FakeRecord record;
  record.number("N", 0, 10).number("W", 0, 3).number("P", 0, 3).date("D", Date());
  std::string problem;
  const auto str = KeyExpression::compile("STR(n, w, p)", record, problem);
  const auto dtos = KeyExpression::compile("DTOS(d)", record, problem);
  ASSERT_TRUE(str && dtos) << problem;
  std::mt19937 random(721);
  std::uniform_real_distribution<double> fraction(-99999.0, 99999.0);
  for (int i = 0; i < 20000; ++i) {
    const double n = i % 2 == 0 ? std::trunc(fraction(random) * (i % 7 == 0 ? 1e9 : 1.0)) : fraction(random);
    const int width = 1 + static_cast<int>(random() % 20);
    const int decimals = static_cast<int>(random() % 4);
    record.set("N", Value(n));
    record.set("W", Value(width));
    record.set("P", Value(decimals));
    const auto field = format_number(n, width, decimals);
    ASSERT_EQ(str->evaluate(record).text(), field ? *field : std::string(static_cast<std::size_t>(width), '*'))
        << n << " in " << width << "," << decimals;
  }
  for (std::int32_t day = Date::from_ymd(1, 1, 1).day_number(); day <= Date::from_ymd(9999, 12, 31).day_number();
       day += 97) {
    record.set("D", Value(Date::from_day_number(day)));
    ASSERT_EQ(dtos->evaluate(record).text(), Date::from_day_number(day).dtos());
  }
}

// The Polish letters of code page 852 and every other byte keep their
// values; only a-z become capitals.
TEST(KeyExpression, UpperChangesOnlyTheLettersAToZ) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  FakeRecord record;
  record.text("ALL", all);
  const Value upper = evaluate_clean("UPPER(all)", record);
  ASSERT_EQ(upper.text().size(), all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    const char c = all[i];
    const char expected = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    EXPECT_EQ(upper.text()[i], expected) << "byte " << static_cast<int>(static_cast<unsigned char>(c));
  }
}

TEST(KeyExpression, LogicalOperatorsAndIifEvaluateOnlyWhatDecidesTheResult) {
  FakeRecord record = function_record();
  const auto reads_of = [&](const char* text) {
    std::string problem;
    const auto expression = KeyExpression::compile(text, record, problem);
    EXPECT_NE(expression, nullptr) << problem;
    const int before = record.reads();
    expression->evaluate(record);
    return record.reads() - before;
  };
  EXPECT_EQ(reads_of(".F. .AND. yes"), 0);
  EXPECT_EQ(reads_of(".T. .OR. yes"), 0);
  EXPECT_EQ(reads_of(".T. .AND. yes"), 1);
  EXPECT_EQ(reads_of("IIF(.T., s, b + t)"), 1);
  EXPECT_EQ(reads_of("IIF(.F., s, b + t)"), 2);
}

// A numeric key is as wide as the numbers of its expression: fields carry
// their width and decimals, a sum the wider places and the more decimals.
TEST(KeyExpression, NumericResultsCarryTheLayoutOfTheirFields) {
  struct Case {
    const char* text;
    NumericLayout layout;
  };
  const Case cases[] = {
      {"n7", {7, 0}},
      {"DESCEND(n7)", {7, 0}},
      {"-n51", {5, 1}},
      {"n7 + n82", {10, 2}},  // 7 places and 2 decimals
      {"n51 + n82", {8, 2}},
      {"n51 - n7", {9, 1}},
      {"IIF(yes, n7, n82)", {10, 2}},
      {"RECNO()", {7, 0}},
      {"5", {10, 0}},
      {"1.25", {13, 2}},
      {"VAL(s)", {10, 0}},
  };
  for (const Case& c : cases) {
    FakeRecord record = function_record();
    std::string problem;
    const auto expression = KeyExpression::compile(c.text, record, problem);
    ASSERT_NE(expression, nullptr) << problem;
    EXPECT_EQ(expression->numeric_layout(), c.layout) << c.text;
  }
}

TEST(KeyExpression, TypeMismatchAtEvaluationIsReportedWithItsPlace) {
  struct Case {
    const char* text;
    const char* description;
    Value result;
  };
  const Case cases[] = {
      {"s+n7", "text joined with a value that is not text at 2 in key s+n7", Value("abcde")},
      {"n7+s", "+ of values that cannot be added at 3 in key n7+s", Value(1234567.0)},
      {"UPPER(n7)", "UPPER takes text at 1 in key UPPER(n7)", Value("")},
      {"DTOS(s)", "DTOS takes a date at 1 in key DTOS(s)", Value("        ")},
      {"STR(s, 4)", "STR takes a number at 1 in key STR(s, 4)", Value("    ")},
      {"IIF(s, \"a\", \"b\")", "IIF takes a logical condition at 1 in key IIF(s, \"a\", \"b\")", Value("b")},
      {"s = n7", "comparison of values of different types at 3 in key s = n7", Value(false)},
      {"yes .AND. s", ".AND. takes logical values at 11 in key yes .AND. s", Value(false)},
      {"-s", "unary minus takes a number at 1 in key -s", Value(0.0)},
      {"d + d", "+ of values that cannot be added at 3 in key d + d", Value(Date::from_ymd(2000, 1, 1))},
  };
  for (const Case& c : cases) {
    FakeRecord record = function_record();
    std::string problem;
    const auto expression = KeyExpression::compile(c.text, record, problem);
    ASSERT_NE(expression, nullptr) << problem;
    EvaluationFault fault;
    EXPECT_EQ(shown(expression->evaluate(record, fault)), shown(c.result)) << c.text;
    EXPECT_FALSE(fault.ok()) << c.text;
    EXPECT_EQ(expression->describe(fault), c.description);
  }
}

TEST(KeyExpression, TextsThatCannotBeCompiledAreRefusedWithTheReason) {
  FakeRecord record = function_record();
  struct Case {
    std::string text;
    std::string problem;
  };
  const Case cases[] = {
      {"UPPER(", "unbalanced parenthesis at 6 in key UPPER("},
      {"UPPER(s))", "unbalanced parenthesis at 9 in key UPPER(s))"},
      {"(s", "unbalanced parenthesis at 1 in key (s"},
      {"\"abc", "string without its closing quote at 1 in key \"abc"},
      {"'abc\"", "string without its closing quote at 1 in key 'abc\""},
      {"s +", "missing operand after + at 3 in key s +"},
      {"FOO(1)", "unknown function FOO in key FOO(1)"},
      {"UPPER(XYZ)", "unknown field XYZ in key UPPER(XYZ)"},
      {"zz->s", "unknown field ZZ->S in key zz->s"},
      {"1 +* 2", "unexpected character * at 4 in key 1 +* 2"},
      {"s t", "unexpected T at 3 in key s t"},
      {"STR(1,2,3,4)", "STR takes 1 to 3 arguments at 1 in key STR(1,2,3,4)"},
      {"SUBSTR(s)", "SUBSTR takes 2 to 3 arguments at 1 in key SUBSTR(s)"},
      {"RECNO(1)", "RECNO takes no arguments at 1 in key RECNO(1)"},
      {"DTOS()", "DTOS takes 1 argument at 1 in key DTOS()"},
      {"IIF(yes,,s)", "missing argument of IIF at 9 in key IIF(yes,,s)"},
      {"STR(1 2)", "expected ) but found 2 at 7 in key STR(1 2)"},
      {"s->(t)", "alias->(expression) is not supported in key texts at 4 in key s->(t)"},
      {"s->", "field name expected after S-> at 4 in key s->"},
      {"s .XOR. t", "unknown operator .XOR. at 3 in key s .XOR. t"},
      {"s + .", "unexpected character . at 5 in key s + ."},
      {std::string("\x01s"), "unexpected byte 0x01 at 1 in key ?s"},
      {"s + \xA5", "unexpected byte 0xA5 at 5 in key s + \xA5"},
      {",", "unexpected , at 1 in key ,"},
      {"", "the key text is empty"},
      {"   ", "the key text is empty"},
  };
  for (const Case& c : cases) EXPECT_EQ(compile_problem(c.text, record), c.problem) << c.text;
}

TEST(KeyExpression, NestingIsBoundedSoThatNoTextExhaustsTheStack) {
  FakeRecord record = function_record();
  const std::string parens = std::string(10000, '(') + "s" + std::string(10000, ')');
  const std::string problem = compile_problem(parens, record);
  EXPECT_EQ(problem.rfind("expression nested deeper than 256 levels at 257 in key (((", 0), 0u) << problem;
  EXPECT_LT(problem.size(), 200u);  // the quote of a long text is cut

  for (const std::string& text : {std::string(10000, '!') + "yes", std::string(10000, '-') + "n7",
                                  std::string(5000, ' ') + std::string(10000, '-') + "n7",
                                  [] {
                                    std::string chain = "n7";
                                    for (int i = 0; i < 2000; ++i) chain += "=n7";
                                    return chain;
                                  }(),
                                  [] {
                                    std::string calls;
                                    for (int i = 0; i < 3000; ++i) calls += "UPPER(";
                                    return calls + "s" + std::string(3000, ')');
                                  }()}) {
    EXPECT_NE(compile_problem(text, record).find("nested deeper than 256 levels"), std::string::npos);
  }
  // Right under the bound compiles and evaluates.
  const std::string deep = std::string(200, '(') + "s" + std::string(200, ')');
  EXPECT_EQ(shown(evaluate_clean(deep, record)), shown(Value("abcde")));
}

TEST(KeyExpression, LongFlatTextsCompileAndEvaluate) {
  FakeRecord record = function_record();
  std::string sum = "s";
  for (int i = 0; i < 50000; ++i) sum += "+s";
  const Value joined = evaluate_clean(sum, record);
  EXPECT_EQ(joined.text().size(), 5u * 50001u);
  const std::string literal = "\"" + std::string(100000, 'x') + "\"";
  EXPECT_EQ(evaluate_clean(literal, record).text().size(), 100000u);
}

// Random token soup and random bytes: every text either compiles and
// evaluates or is refused with a message; nothing crashes or hangs.
TEST(KeyExpression, GarbageNeverCrashes) {
  const std::vector<std::string> pieces = {
      "s",  "n7",  "d",      "yes",  "(",     ")",      ",",      "+",    "-",       "=",    "==", "<>",
      "#",  "!",   ".AND.",  ".OR.", ".NOT.", ".T.",    "\"x\"",  "'",    "\"",      "1",    "2.5", "->",
      "x->", "STR(", "SUBSTR(", "IIF(", "DESCEND(", "UPPER(", "DTOS(", "RECNO()", "LEFT(", "VAL(", ".", "*",
      " ",  "<",   ">=",     "FOO(",  "\x01",  "\xFF",   "desc(",  "alltrim(", "s->(", "::"};
  std::mt19937 random(20240517);
  FakeRecord record = function_record();
  int compiled = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 24);
    if (round % 5 == 4) {
      for (int i = 0; i < length; ++i) text += static_cast<char>(random() % 256);
    } else {
      for (int i = 0; i < length; ++i) text += pieces[random() % pieces.size()];
    }
    std::string problem;
    const auto expression = KeyExpression::compile(text, record, problem);
    if (!expression) {
      EXPECT_FALSE(problem.empty()) << text;
      continue;
    }
    ++compiled;
    EvaluationFault fault;
    expression->evaluate(record, fault);
    if (!fault.ok()) {
      EXPECT_FALSE(expression->describe(fault).empty());
    }
  }
  EXPECT_GT(compiled, 100);  // the soup does hit valid texts, so evaluation is exercised too
}

}  // namespace
}  // namespace intra
