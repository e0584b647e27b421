#include "storage/memory_variable_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "main/run_error.h"
#include "ntx_test_support.h"
#include "storage/share_mode.h"
#include "storage/variable_mask.h"
#include "temp_directory.h"

namespace intra {
namespace {

using testing::FaultyFileSystem;
using testing::TempDirectory;

std::string le_double(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  std::string out;
  for (int i = 0; i < 8; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
  return out;
}

// A 32-byte record header as the file holds it.
std::string header(const std::string& name, unsigned char type, unsigned char length, unsigned char second) {
  std::string h(32, '\0');
  h.replace(0, std::min<std::size_t>(name.size(), 11), name.substr(0, 11));
  h[11] = static_cast<char>(type);
  h[16] = static_cast<char>(length);
  h[17] = static_cast<char>(second);
  return h;
}

std::string text_record(const std::string& name, const std::string& text) {
  const std::size_t stored = text.size() + 1;
  return header(name, 0xC3, static_cast<unsigned char>(stored & 0xFF), static_cast<unsigned char>(stored >> 8)) +
         text + '\0';
}
std::string number_record(const std::string& name, double n) { return header(name, 0xCE, 10, 0) + le_double(n); }
std::string logical_record(const std::string& name, char byte) { return header(name, 0xCC, 1, 0) + byte; }

// The names of the records of a file, walked by the lengths its types give.
std::vector<std::string> record_names(const std::string& bytes) {
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at + 32 <= bytes.size()) {
    names.emplace_back(bytes.c_str() + at);
    const auto type = static_cast<unsigned char>(bytes[at + 11]);
    const std::size_t length = static_cast<unsigned char>(bytes[at + 16]) +
                               256u * static_cast<unsigned char>(bytes[at + 17]);
    at += 32 + (type == 0xC3 ? length : type == 0xCC ? 1 : 8);
  }
  return names;
}

// Answers run errors from a script and remembers them; a hook runs before
// each answer (to release a file another holder kept, for instance).
struct ScriptedHandler : RunErrorHandler {
  std::vector<ErrorAnswer> answers;
  std::vector<RunError> seen;
  std::function<void()> before_answer;
  ErrorAnswer handle(const RunError& e) override {
    seen.push_back(e);
    if (before_answer) before_answer();
    if (answers.empty()) return ErrorAnswer::Default;
    const ErrorAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
};

class MemoryVariableFileTest : public ::testing::Test {
 protected:
  TempDirectory tmp;
  PosixFileSystem files{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};
  PublicVariables vars;
  ScriptedHandler handler;

  void SetUp() override { set_run_error_handler(&handler); }
  void TearDown() override { set_run_error_handler(nullptr); }

  std::string bytes(const std::string& name) const {
    std::ifstream in(files.resolve(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write_bytes(const std::string& name, const std::string& content) const {
    std::ofstream(files.resolve(name), std::ios::binary | std::ios::trunc) << content;
  }
  // The file of the single variable `name` = `value`.
  std::string saved_alone(const std::string& name, const Value& value) {
    PublicVariables one;
    one.set(name, value);
    EXPECT_TRUE(MVSAVE("one", "*", true, false, one, files));
    return bytes("one.mem");
  }
  bool restore(std::string_view file, bool additive = true, PublicVariables::PrivateScope* caller = nullptr,
               std::string_view mask = "*", bool include = true) {
    return MVRESTORE(file, additive, false, mask, include, caller, vars, files);
  }
  // Another station's open of the file with its share mode.
  std::unique_ptr<File> hold(const std::string& name, bool exclusive) {
    auto file = files.open(name, exclusive ? OpenMode::ReadWrite : OpenMode::Read);
    EXPECT_TRUE(file);
    EXPECT_EQ(take_share_mode(*file, exclusive), ShareResult::Granted);
    return file;
  }
};

TEST_F(MemoryVariableFileTest, TheParameterSaveOfOneIntegerIsFortyOneBytes) {
  vars.set("J_PP", 1);
  vars.set("M_ILOSC", 7);  // not a parameter: left out
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  const std::string file = bytes("parametr.mem");
  ASSERT_EQ(file.size(), 41u);
  std::string expected(32, '\0');
  expected.replace(0, 4, "J_PP");
  expected[11] = static_cast<char>(0xCE);
  expected[16] = 10;
  EXPECT_EQ(file, expected + le_double(1.0) + '\x1A');
}

TEST_F(MemoryVariableFileTest, EachTypeIsWrittenWithItsLengthBytesAndValue) {
  struct Case {
    const char* what;
    Value value;
    unsigned char type, length, second;
    std::string value_bytes;
  } cases[] = {
      {"one letter", Value("K"), 0xC3, 2, 0, std::string("K\0", 2)},
      {"empty text", Value(""), 0xC3, 1, 0, std::string(1, '\0')},
      {"255 letters: length 256 in two bytes", Value(std::string(255, 'a')), 0xC3, 0, 1,
       std::string(255, 'a') + '\0'},
      {"the longest text saved", Value(std::string(32766, 'z')), 0xC3, 0xFF, 0x7F, std::string(32766, 'z') + '\0'},
      {"12.5", Value(12.5), 0xCE, 12, 1, le_double(12.5)},
      {"negative whole", Value(-1), 0xCE, 10, 0, le_double(-1)},
      {"true", Value(true), 0xCC, 1, 0, "\x01"},
      {"false", Value(false), 0xCC, 1, 0, std::string(1, '\0')},
      {"empty date", Value(Date()), 0xC4, 1, 0, le_double(0.0)},
      {"1 January 2000", Value(Date::from_ymd(2000, 1, 1)), 0xC4, 1, 0, le_double(2451545.0)},
  };
  for (const Case& c : cases) {
    const std::string file = saved_alone("J_MAG_K", c.value);
    ASSERT_EQ(file.size(), 32 + c.value_bytes.size() + 1) << c.what;
    EXPECT_EQ(file.substr(0, 32), header("J_MAG_K", c.type, c.length, c.second)) << c.what;
    EXPECT_EQ(file.substr(32, c.value_bytes.size()), c.value_bytes) << c.what;
    EXPECT_EQ(file.back(), '\x1A') << c.what;
  }
}

TEST_F(MemoryVariableFileTest, NumbersAreSavedWithTheFewestDecimalsThatKeepThem) {
  struct Case {
    double value;
    int width, decimals;
  } cases[] = {
      {1, 10, 0},        {0, 10, 0},           {-1, 10, 0},          {12.5, 12, 1},
      {0.125, 14, 3},    {-0.5, 12, 1},        {1e12, 13, 0},        {-12345678901.0, 12, 0},
      {23.0, 10, 0},     {0.1 + 0.2, 20, 9},   {1e300, 255, 0},      {std::nan(""), 10, 0},
      {std::numeric_limits<double>::infinity(), 10, 0},
  };
  for (const Case& c : cases) {
    const NumericLayout layout = saved_number_layout(c.value);
    EXPECT_EQ(layout.width, c.width) << c.value;
    EXPECT_EQ(layout.decimals, c.decimals) << c.value;
  }
}

TEST(VariableMask, StarQuestionMarkAndLetterCase) {
  struct Case {
    const char* mask;
    const char* name;
    bool matches;
  } cases[] = {
      {"J_*", "J_PP", true},       {"J_*", "J_", true},          {"j_*", "J_PP", true},
      {"J_*", "JEST_X", false},    {"J_*", "M_J_PP", false},     {"*X", "M_DATA", true},
      {"*", "ANY", true},          {"J_P?", "J_PP", true},       {"J_P?", "J_P", true},
      {"J_P?", "J_PPP", false},    {"J_PP", "J_PP", true},       {"J_PP", "J_PPA", false},
      {"J*A", "J_NAZWA", true},    {"J*A", "J_NAZWY", false},    {"M?_*", "M_X", true},
      {"", "J_PP", false},         {"J_*_K", "J_MAG_K", true},   {"a*b*c*d*e*f", "ABCDEF", true},
  };
  for (const Case& c : cases) EXPECT_EQ(variable_mask_matches(c.mask, c.name), c.matches) << c.mask << " " << c.name;
  EXPECT_TRUE(variable_selected("J_*", false, "M_X"));
  EXPECT_FALSE(variable_selected("J_*", false, "J_PP"));
}

TEST_F(MemoryVariableFileTest, UnselectedNamesAreLeftOutAndTheRestComeInByteOrderCutToTenLetters) {
  for (const char* name : {"ZETA", "j_b", "alfa", "J_A", "DLUGA_NAZWA_X", "_END", "M_LISTA"}) vars.set(name, 1);
  vars.set("M_LISTA", Value(ValueList{Value(1)}));  // a list is never written
  ASSERT_TRUE(MVSAVE("reszta", "J_*", false, false, vars, files));
  EXPECT_EQ(record_names(bytes("reszta.mem")), (std::vector<std::string>{"ALFA", "DLUGA_NAZW", "ZETA", "_END"}));
}

TEST_F(MemoryVariableFileTest, TheInnermostVisibleValueIsSaved) {
  vars.set("J_PP", 1);
  PublicVariables::PrivateScope routine(vars);
  routine.declare("J_PP", Value(2));
  routine.declare("J_TYLKO", Value("p"));
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  EXPECT_EQ(bytes("parametr.mem"), number_record("J_PP", 2) + text_record("J_TYLKO", "p") + '\x1A');
}

TEST_F(MemoryVariableFileTest, ATextTooLongIsSkippedAndLaterNamesAreStillSaved) {
  vars.set("J_A_DLUGI", Value(std::string(40000, 'x')));
  vars.set("J_B", Value("b"));
  vars.set("J_C", Value(std::string(32767, 'c')));  // length + 1 is one too many
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  EXPECT_EQ(bytes("parametr.mem"), text_record("J_B", "b") + '\x1A');
}

TEST_F(MemoryVariableFileTest, NothingSelectedWritesTheEndByteAloneAndRestoresNothing) {
  vars.set("M_X", 5);
  ASSERT_TRUE(MVSAVE("pusty", "J_*", true, false, vars, files));
  EXPECT_EQ(bytes("pusty.mem"), "\x1A");
  ASSERT_TRUE(restore("pusty"));
  EXPECT_EQ(vars.visible_names(), std::vector<std::string>{"M_X"});
  EXPECT_EQ(vars.number("M_X"), 5);
}

TEST_F(MemoryVariableFileTest, EveryTypeComesBackAsItWasSaved) {
  const std::vector<std::pair<std::string, Value>> saved = {
      {"J_TEKST", Value("C:\\VAT                   ")},
      {"J_PUSTY", Value("")},
      {"J_BAJTY", Value(std::string("a\0b\x1A" "c", 5))},  // NUL and end byte inside: kept by length
      {"J_LICZBA", Value(1016)},
      {"J_UJEMNA", Value(-0.25)},
      {"J_DUZA", Value(123456789012.5)},
      {"J_DATA", Value(Date::from_ymd(2024, 5, 31))},
      {"J_BEZDATY", Value(Date())},
      {"J_TAK", Value(true)},
      {"J_NIE", Value(false)},
  };
  for (const auto& [name, value] : saved) vars.set(name, value);
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  vars.clear();
  ASSERT_TRUE(restore("parametr"));
  for (const auto& [name, value] : saved) EXPECT_EQ(vars.get(name), value) << name;
  EXPECT_EQ(vars.visible_names().size(), saved.size());
}

TEST_F(MemoryVariableFileTest, RestoringSetsAVisibleVariableOrCreatesAPrivateOneOfTheCaller) {
  write_bytes("parametr.mem", number_record("J_PP", 1) + text_record("J_NOWY", "n") + '\x1A');
  vars.set("J_PP", 5);
  {
    PublicVariables::PrivateScope caller(vars);
    ASSERT_TRUE(restore("parametr", true, &caller));
    EXPECT_EQ(vars.public_value("J_PP").number(), 1);  // still public, now 1
    EXPECT_EQ(vars.text("J_NOWY"), "n");
  }
  EXPECT_EQ(vars.number("J_PP"), 1);
  EXPECT_FALSE(vars.exists("J_NOWY"));  // gone with the caller's scope
  // With no calling routine given the new variable is public.
  ASSERT_TRUE(restore("parametr"));
  EXPECT_EQ(vars.public_value("J_NOWY").text(), "n");
}

TEST_F(MemoryVariableFileTest, RestoringIntoAPrivateVariableLeavesThePublicOneAlone) {
  write_bytes("parametr.mem", number_record("J_PP", 1) + '\x1A');
  vars.set("J_PP", 5);
  {
    PublicVariables::PrivateScope routine(vars);
    routine.declare("J_PP");
    ASSERT_TRUE(restore("parametr", true, &routine));
    EXPECT_EQ(vars.number("J_PP"), 1);
  }
  EXPECT_EQ(vars.number("J_PP"), 5);
}

TEST_F(MemoryVariableFileTest, NotAdditiveReleasesEveryVariableFirst) {
  write_bytes("parametr.mem", number_record("J_PP", 1) + '\x1A');
  vars.set("M_X", 3);
  ASSERT_TRUE(restore("parametr", false));
  EXPECT_EQ(vars.visible_names(), std::vector<std::string>{"J_PP"});
}

TEST_F(MemoryVariableFileTest, TheMaskAndIncludeFlagChooseWhatIsRestored) {
  write_bytes("m.mem", number_record("J_PP", 1) + number_record("M_X", 2) + '\x1A');
  ASSERT_TRUE(restore("m", true, nullptr, "J_*", false));
  EXPECT_EQ(vars.visible_names(), std::vector<std::string>{"M_X"});
}

TEST_F(MemoryVariableFileTest, AFileCutShortIsReadUpToItsLastWholeRecord) {
  const std::string first = number_record("J_A", 1);
  const std::string second = text_record("J_B", "bbbb");
  const std::string third = logical_record("J_C", 1);
  const std::string whole = first + second + third + '\x1A';
  struct Case {
    std::size_t length;
    std::vector<std::string> restored;
  } cases[] = {
      {whole.size(), {"J_A", "J_B", "J_C"}},
      {whole.size() - 1, {"J_A", "J_B", "J_C"}},                 // no end byte
      {first.size() + second.size() + 31, {"J_A", "J_B"}},        // third header cut
      {first.size() + second.size() + 32, {"J_A", "J_B"}},        // third value missing
      {first.size() + 32 + 3, {"J_A"}},                          // second text cut short
      {first.size() - 1, {}},                                     // first value cut short
      {10, {}},
      {0, {}},
  };
  for (const Case& c : cases) {
    vars.clear();
    write_bytes("cut.mem", whole.substr(0, c.length));
    EXPECT_TRUE(restore("cut")) << c.length;
    EXPECT_EQ(vars.visible_names(), c.restored) << c.length;
  }
}

TEST_F(MemoryVariableFileTest, OddRecordsAreReadWithoutGarbage) {
  std::string eleven_letters = header("ABCDEFGHIJK", 0xCC, 1, 0) + '\x01';  // no NUL in the name field
  write_bytes("odd.mem", header("J_ZLY", 0x41, 8, 0) +  // unknown type: no value bytes follow
                             logical_record("J_TAK", 'T') +                      // any non-zero byte is true
                             header("J_ZERO", 0xC3, 0, 0) +                     // length 0: empty text
                             header("J_D1", 0xC4, 1, 0) + le_double(2451545.0) +
                             header("J_D2", 0xC4, 1, 0) + le_double(std::nan("")) +
                             header("J_D3", 0xC4, 1, 0) + le_double(-7) +
                             header("J_D4", 0xC4, 1, 0) + le_double(1e20) +
                             header("", 0xCE, 10, 0) + le_double(4) +             // no name: skipped
                             eleven_letters + '\x1A');
  ASSERT_TRUE(restore("odd"));
  EXPECT_FALSE(vars.exists("J_ZLY"));
  EXPECT_EQ(vars.get("J_TAK"), Value(true));
  EXPECT_EQ(vars.get("J_ZERO"), Value(""));
  EXPECT_EQ(vars.get("J_D1"), Value(Date::from_ymd(2000, 1, 1)));
  for (const char* empty : {"J_D2", "J_D3", "J_D4"}) EXPECT_EQ(vars.get(empty), Value(Date())) << empty;
  EXPECT_EQ(vars.get("ABCDEFGHIJK"), Value(true));
  EXPECT_EQ(vars.visible_names().size(), 7u);
}

TEST_F(MemoryVariableFileTest, ANameWithoutExtensionGetsDotMem) {
  EXPECT_EQ(memory_file_name("parametr"), "parametr.mem");
  EXPECT_EQ(memory_file_name("parametr.txt"), "parametr.txt");
  EXPECT_EQ(memory_file_name("rob\\stan"), "rob\\stan.mem");
  EXPECT_EQ(memory_file_name("a.b\\stan"), "a.b\\stan.mem");
  vars.set("J_PP", 1);
  ASSERT_TRUE(MVSAVE("parametr.txt", "J_*", true, false, vars, files));
  EXPECT_EQ(bytes("parametr.txt").size(), 41u);
  EXPECT_FALSE(files.exists("parametr.txt.mem"));
  vars.clear();
  ASSERT_TRUE(restore("parametr.txt"));
  EXPECT_EQ(vars.number("J_PP"), 1);
}

TEST_F(MemoryVariableFileTest, SavingOverAFileAnotherStationHoldsIsACreateErrorThatRetries) {
  write_bytes("parametr.mem", number_record("J_STARY", 9) + '\x1A');
  const std::string before = bytes("parametr.mem");
  auto reader = hold("parametr.mem", false);
  handler.answers = {ErrorAnswer::Retry};
  handler.before_answer = [&] {
    EXPECT_EQ(bytes("parametr.mem"), before);  // the holder's file is whole
    reader.reset();
  };
  vars.set("J_PP", 1);
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  ASSERT_EQ(handler.seen.size(), 1u);
  const RunError& e = handler.seen[0];
  EXPECT_EQ(e.description, "Create error");
  EXPECT_EQ(e.subsystem, "BASE");
  EXPECT_EQ(e.general_code, 20);
  EXPECT_EQ(e.specific_code, 2006);
  EXPECT_EQ(e.os_code, kSharingViolation);
  EXPECT_EQ(e.operation, "parametr.mem");
  EXPECT_TRUE(e.can_retry);
  EXPECT_EQ(bytes("parametr.mem").size(), 41u);
}

TEST_F(MemoryVariableFileTest, ACreateErrorNotRetriedSavesNothing) {
  write_bytes("parametr.mem", number_record("J_STARY", 9) + '\x1A');
  const std::string before = bytes("parametr.mem");
  auto saver = hold("parametr.mem", true);
  handler.answers = {ErrorAnswer::Default};
  vars.set("J_PP", 1);
  EXPECT_FALSE(MVSAVE("parametr", "J_*", true, false, vars, files));
  EXPECT_EQ(bytes("parametr.mem"), before);
  // Where the file cannot be made at all the operating system's code is shown.
  handler.answers = {ErrorAnswer::Default};
  EXPECT_FALSE(MVSAVE("brak\\parametr", "J_*", true, false, vars, files));
  EXPECT_EQ(handler.seen.back().description, "Create error");
  EXPECT_EQ(handler.seen.back().os_code, 2);
}

// The exit code of a save run in another process (another station): 0 when
// it met a create error for a sharing conflict and gave up, 1 when it saved,
// 2 for anything else.
int save_in_another_process(PublicVariables& vars, FileSystem& fs, ScriptedHandler& handler) {
  const pid_t child = fork();
  if (child == 0) {
    handler.seen.clear();
    handler.answers = {ErrorAnswer::Default};
    const bool saved = MVSAVE("parametr", "J_*", true, false, vars, fs);
    const bool conflict = handler.seen.size() == 1 && handler.seen[0].specific_code == 2006 &&
                          handler.seen[0].os_code == kSharingViolation;
    _exit(saved ? 1 : conflict ? 0 : 2);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST_F(MemoryVariableFileTest, AStationRestoringKeepsAnotherProcessFromSaving) {
  vars.set("J_PP", 1);
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  const std::string before = bytes("parametr.mem");
  vars.set("J_PP", 2);
  {
    auto restoring = hold("parametr.mem", false);
    EXPECT_EQ(save_in_another_process(vars, files, handler), 0);
    EXPECT_EQ(bytes("parametr.mem"), before);
  }
  EXPECT_EQ(save_in_another_process(vars, files, handler), 1);
  EXPECT_EQ(bytes("parametr.mem"), number_record("J_PP", 2) + '\x1A');
}

TEST_F(MemoryVariableFileTest, RestoringSharesTheFileWithReadersButKeepsSaversOut) {
  vars.set("J_PP", 1);
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, files));
  auto other_reader = hold("parametr.mem", false);
  ASSERT_TRUE(restore("parametr"));  // readers share
  other_reader.reset();

  auto saver = hold("parametr.mem", true);
  vars.set("J_PP", 5);
  handler.answers = {ErrorAnswer::Default};
  EXPECT_FALSE(restore("parametr"));
  EXPECT_EQ(vars.number("J_PP"), 5);  // nothing changed
  ASSERT_EQ(handler.seen.size(), 1u);
  EXPECT_EQ(handler.seen[0].description, "Open error");
  EXPECT_EQ(handler.seen[0].general_code, 21);
  EXPECT_EQ(handler.seen[0].specific_code, 2005);
  EXPECT_EQ(handler.seen[0].os_code, kSharingViolation);
  EXPECT_TRUE(handler.seen[0].can_retry);

  handler.answers = {ErrorAnswer::Retry};
  handler.before_answer = [&] { saver.reset(); };
  EXPECT_TRUE(restore("parametr"));
  EXPECT_EQ(vars.number("J_PP"), 1);
}

TEST_F(MemoryVariableFileTest, AMissingFileIsAnOpenErrorWithTheSystemCode) {
  vars.set("J_PP", 5);
  EXPECT_FALSE(restore("brak"));
  ASSERT_EQ(handler.seen.size(), 1u);
  EXPECT_EQ(handler.seen[0].description, "Open error");
  EXPECT_EQ(handler.seen[0].operation, "brak.mem");
  EXPECT_EQ(handler.seen[0].os_code, 2);
  EXPECT_EQ(vars.number("J_PP"), 5);
}

TEST_F(MemoryVariableFileTest, AFailedWriteIsReportedAndARetryWritesTheWholeFile) {
  FaultyFileSystem watched(files);
  watched.switches.writes_before_failure = 0;
  handler.answers = {ErrorAnswer::Retry};
  handler.before_answer = [&] { watched.switches.writes_before_failure = -1; };
  vars.set("J_PP", 1);
  ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, vars, watched));
  ASSERT_EQ(handler.seen.size(), 1u);
  EXPECT_EQ(handler.seen[0].description, "Write error");
  EXPECT_EQ(handler.seen[0].general_code, 24);
  EXPECT_EQ(handler.seen[0].os_code, 39);  // disk full
  EXPECT_EQ(bytes("parametr.mem").size(), 41u);

  watched.switches.writes_before_failure = 0;
  handler.before_answer = nullptr;
  handler.answers = {ErrorAnswer::Default};
  EXPECT_FALSE(MVSAVE("parametr", "J_*", true, false, vars, watched));  // never reported as saved
}

TEST_F(MemoryVariableFileTest, AFailedReadChangesNothing) {
  write_bytes("parametr.mem", number_record("J_PP", 1) + '\x1A');
  FaultyFileSystem watched(files);
  watched.switches.fail_reads = true;
  vars.set("J_PP", 5);
  vars.set("M_X", 2);
  handler.answers = {ErrorAnswer::Default};
  EXPECT_FALSE(MVRESTORE("parametr", false, false, "*", true, nullptr, vars, watched));
  ASSERT_EQ(handler.seen.size(), 1u);
  EXPECT_EQ(handler.seen[0].description, "Read error");
  EXPECT_EQ(handler.seen[0].general_code, 23);
  EXPECT_EQ(vars.number("J_PP"), 5);
  EXPECT_EQ(vars.number("M_X"), 2);  // not released either
}

TEST_F(MemoryVariableFileTest, TheExtendedLayoutIsRefusedWithoutTouchingAnything) {
  vars.set("J_PP", 1);
  EXPECT_FALSE(MVSAVE("parametr", "J_*", true, true, vars, files));
  EXPECT_FALSE(files.exists("parametr.mem"));
  write_bytes("parametr.mem", number_record("J_PP", 2) + '\x1A');
  EXPECT_FALSE(MVRESTORE("parametr", false, true, "*", true, nullptr, vars, files));
  EXPECT_EQ(vars.number("J_PP"), 1);
  EXPECT_TRUE(handler.seen.empty());
}

}  // namespace
}  // namespace intra
