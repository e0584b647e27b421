#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "main/public_variables.h"
#include "main/run_error.h"
#include "main/startup/main_routine.h"
#include "main/startup/start_argument.h"
#include "main/termination.h"
#include "screen/text_helpers.h"
#include "storage/memory_variable_file.h"
#include "storage/table.h"
#include "storage/table_operations.h"
#include "storage/temp_directory.h"
#include "storage/work_areas.h"
#include "../screen/test_screen.h"

namespace intra {
namespace {

TEST(StartArgument, RulesArePrefixComparisons) {
  struct Case {
    std::optional<std::string_view> argument;
    const char* www;
    bool no_rebuild, rebuild, index_rebuild, month;
  } cases[] = {
      {std::nullopt, "", false, false, false, false},
      {"cd", "CD", true, false, false, false},
      {"cdx", "CD", true, false, false, false},
      {"CDX", "CDX", true, false, false, false},
      {"3", "3", false, true, false, false},
      {"30", "30", false, true, false, false},
      {"888", "888", false, false, true, false},
      {"8881", "8881", false, false, true, false},
      {"05.24", "05.24", false, false, false, true},
      {"12.01", "12.01", false, false, false, true},
      {"13.24", "13.24", false, false, false, false},
      {"5.24", "5.24", false, false, false, false},
      {"05-24", "05-24", false, false, false, false},
  };
  for (const Case& c : cases) {
    const std::string www = start_argument_value(c.argument);
    EXPECT_EQ(www, c.www) << c.www;
    EXPECT_EQ(is_no_rebuild_argument(www), c.no_rebuild) << c.www;
    EXPECT_EQ(is_rebuild_argument(www), c.rebuild) << c.www;
    EXPECT_EQ(is_index_rebuild_argument(www), c.index_rebuild) << c.www;
    EXPECT_EQ(is_month_argument(www), c.month) << c.www;
  }
}

TEST(TextHelpers, Str2AndRemovals) {
  EXPECT_EQ(STR2(5), "05");
  EXPECT_EQ(STR2(42), "42");
  EXPECT_EQ(STR2(0), "00");
  EXPECT_EQ(STR2(100), "00");
  EXPECT_EQ(USUN_ZN("12-34-5", "-"), "12345");
  EXPECT_EQ(USUN_SPACJE(" KOPIA .TXT "), "KOPIA.TXT");
}

// A start in a temporary working directory, on the virtual screen.
struct MainFixture : ::testing::Test {
  testing::TestScreen screen;
  testing::TempDirectory tmp;
  PosixFileSystem files{DosPathMapper(tmp.path(), DriveMap{tmp.path() / "drives", {}})};
  WorkAreas areas{files};
  MainFixture() {
    set_file_system(&files);
    set_work_areas(&areas);
  }
  ~MainFixture() override {
    set_work_areas(nullptr);
    set_file_system(nullptr);
  }
  void TearDown() override { publics().clear(); }

  std::string bytes(const std::string& name) const {
    std::ifstream in(files.resolve(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // The parameters as a later start reads them back.
  PublicVariables stored_parameters() const {
    PublicVariables stored;
    EXPECT_TRUE(MVRESTORE("parametr", true, false, "*", true, nullptr, stored, const_cast<PosixFileSystem&>(files)));
    return stored;
  }
};

TEST_F(MainFixture, StartUpSetsTheRunUpAndEndsWithExitCodeZero) {
  EXPECT_EQ(run_program("cdx"), 0);
  const PublicVariables& v = publics();
  EXPECT_EQ(v.text("WWW"), "CD");
  EXPECT_EQ(v.text("PLIK"), "rob\\wydruk01.prn");
  EXPECT_EQ(v.number("ESC"), 27);
  EXPECT_EQ(v.number("F10"), -9);
  EXPECT_EQ(v.number("K_GLOWNE"), 3);
  EXPECT_EQ(v.number("K_RAPORTY"), 1);
  EXPECT_EQ(v.text("J_RABAT_ZB"), "N");
  EXPECT_EQ(v.text("J_ZAKUPU"), "T");
  EXPECT_EQ(v.text("J_NODB1"), "N");
  EXPECT_EQ(v.text("J_SD_Z1MAG"), "T");
  EXPECT_EQ(v.text("M_SPZ"), "G");
  EXPECT_EQ(v.get("M_DATA").date(), screen.clock.local_time().date);
  EXPECT_EQ(screen.row(0).substr(0, banner_text().size()), banner_text());
  EXPECT_FALSE(screen.con.cursor_visible());
}

TEST_F(MainFixture, FirstStartWritesTheParameterFileWithTheTaxRates) {
  // Counts the saves: the first with the rates unset, the second with them.
  struct CountingFiles final : FileSystem {
    PosixFileSystem& real;
    int parameter_saves = 0;
    explicit CountingFiles(PosixFileSystem& r) : real(r) {}
    std::filesystem::path resolve(std::string_view p) const override { return real.resolve(p); }
    bool exists(std::string_view p) const override { return real.exists(p); }
    bool is_directory(std::string_view p) const override { return real.is_directory(p); }
    std::optional<FileInfo> info(std::string_view p) const override { return real.info(p); }
    std::vector<DirectoryEntry> list(std::string_view p, bool d) const override { return real.list(p, d); }
    bool remove(std::string_view p) override { return real.remove(p); }
    bool rename(std::string_view a, std::string_view b) override { return real.rename(a, b); }
    bool copy(std::string_view a, std::string_view b) override { return real.copy(a, b); }
    bool make_directory(std::string_view p) override { return real.make_directory(p); }
    std::unique_ptr<File> open(std::string_view p, OpenMode m) override {
      if (p == "parametr.mem" && m != OpenMode::Read) ++parameter_saves;
      return real.open(p, m);
    }
    int last_error() const override { return real.last_error(); }
  } counting(files);
  set_file_system(&counting);
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(counting.parameter_saves, 2);

  const PublicVariables stored = stored_parameters();
  EXPECT_EQ(stored.text("J_PTUA"), "23");
  EXPECT_EQ(stored.text("J_PTUB"), " 8");
  EXPECT_EQ(stored.text("J_PTUD"), " 5");
  EXPECT_EQ(stored.text("J_PTUZ"), "ZW");
  EXPECT_EQ(stored.get("J_RABAT_ZB"), Value(false));  // forced to "N" only after the saves
  EXPECT_EQ(stored.get("J_ZAOKRAGL"), Value(false));
  EXPECT_EQ(stored.number("J_PP"), 1);
  EXPECT_FALSE(stored.exists("WWW"));

  // A later start reads the file and leaves it alone.
  const std::string first = bytes("parametr.mem");
  counting.parameter_saves = 0;
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(counting.parameter_saves, 0);
  EXPECT_EQ(bytes("parametr.mem"), first);
}

TEST_F(MainFixture, StoredParametersOverrideTheDefaultsAndTheThreeRuleSavesAtStationOne) {
  {
    PublicVariables earlier;
    earlier.set("J_PTUA", "23");
    earlier.set("J_PP", 3);
    earlier.set("J_WALUTA", "N");
    earlier.set("J_STARY", "x");  // a parameter this program does not know
    ASSERT_TRUE(MVSAVE("parametr", "J_*", true, false, earlier, files));
  }
  const std::string before = bytes("parametr.mem");
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(bytes("parametr.mem"), before);
  EXPECT_EQ(publics().number("J_PP"), 3);
  EXPECT_EQ(publics().text("JEST_WALUTA"), "N");
  EXPECT_EQ(publics().text("J_PTUB"), " 7");  // rates set once already: defaults stay
  EXPECT_FALSE(publics().exists("J_STARY"));  // it lived while the entry routine ran

  EXPECT_EQ(run_program("3"), 0);
  const PublicVariables stored = stored_parameters();
  EXPECT_EQ(stored.text("J_I3"), "3");
  EXPECT_EQ(stored.text("J_STARY"), "x");  // carried over for the other programs
  EXPECT_EQ(stored.number("J_PP"), 3);
}

TEST_F(MainFixture, StationIsTakenAndFreedOrTheRunEndsWithoutOne) {
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(publics().number("STACJA"), 1);
  EXPECT_TRUE(files.exists("firma.dbf"));
  EXPECT_TRUE(files.exists("parametr.txt"));

  // Another station holds the company table exclusively: no station, and
  // the run ends before the parameters and without freeing anything.
  files.remove("parametr.txt");
  DBCLOSEALL();
  TableError error;
  auto other = Table::open(files, "firma", OpenOptions{false, false}, error);
  ASSERT_TRUE(other) << error.message();
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(publics().number("STACJA"), 0);
  EXPECT_FALSE(files.exists("parametr.txt"));
  EXPECT_NE(publics().text("PLIK"), "rob\\wydruk00.prn");  // step 8 never ran
}

TEST_F(MainFixture, TerminationRunsOnEveryWayOut) {
  int closed = 0;
  on_termination([&] { ++closed; });
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(closed, 1);

  // A closer whose error the user answers with quit does not keep the
  // other closers from running.
  struct QuitAll : RunErrorHandler {
    ErrorAnswer handle(const RunError&) override { return ErrorAnswer::Quit; }
  } quit;
  set_run_error_handler(&quit);
  on_termination([&] { ++closed; });
  on_termination([] { raise_run_error(RunError{"Write error", "DBFNTX", 24, 1011, 28, "as.dbf"}); });
  EXPECT_EQ(run_program(std::nullopt), 0);
  EXPECT_EQ(closed, 2);
  set_run_error_handler(nullptr);
}

TEST(RunError, RetryRepeatsTheOperationAndDefaultGivesUp) {
  struct Scripted : RunErrorHandler {
    std::vector<ErrorAnswer> answers;
    std::vector<RunError> seen;
    ErrorAnswer handle(const RunError& e) override {
      seen.push_back(e);
      const ErrorAnswer a = answers.front();
      answers.erase(answers.begin());
      return a;
    }
  } handler;
  set_run_error_handler(&handler);
  int attempts = 0;
  auto open = [&](RunError& e) {
    ++attempts;
    e = RunError{"Open error", "DBFNTX", 21, 1001, 32, "24\\05\\as.dbf", true, true};
    return attempts == 3;
  };
  handler.answers = {ErrorAnswer::Retry, ErrorAnswer::Retry};
  EXPECT_TRUE(retry_until_done(open));
  EXPECT_EQ(attempts, 3);
  EXPECT_EQ(handler.seen[1].tries, 2);
  EXPECT_EQ(handler.seen[0].summary(), "DBFNTX/1001  Open error: 24\\05\\as.dbf (DOS Error 32)");

  attempts = 0;
  handler.answers = {ErrorAnswer::Default};
  EXPECT_FALSE(retry_until_done(open));
  EXPECT_EQ(attempts, 1);

  handler.answers = {ErrorAnswer::Quit};
  EXPECT_THROW(retry_until_done(open), QuitProgram);
  set_run_error_handler(nullptr);
}

}  // namespace
}  // namespace intra
