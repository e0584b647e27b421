#include <gtest/gtest.h>

#include "main/public_variables.h"
#include "main/run_error.h"
#include "main/startup/main_routine.h"
#include "main/startup/start_argument.h"
#include "main/termination.h"
#include "screen/text_helpers.h"
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

struct MainFixture : ::testing::Test {
  testing::TestScreen screen;
  void TearDown() override { publics().clear(); }
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
