#include <gtest/gtest.h>

#include "main/startup/error_dialog.h"
#include "screen/key_codes.h"
#include "../screen/test_screen.h"

namespace intra {
namespace {

RunError open_error() {
  return RunError{"Open error", "DBFNTX", 21, 1001, 32, "24\\05\\as.dbf", true, false, 1};
}

TEST(ScreenErrorHandler, ShowsTheErrorAndOffersOnlyTheAllowedAnswers) {
  EXPECT_EQ(ScreenErrorHandler::message_of(open_error()),
            "Error DBFNTX/1001;Open error: 24\\05\\as.dbf;(general code 21, DOS Error 32)");
  EXPECT_EQ(ScreenErrorHandler::choices_of(open_error()), (std::vector<std::string>{"Quit", "Retry"}));
  RunError print = open_error();
  print.can_default = true;
  print.tries = 3;
  EXPECT_EQ(ScreenErrorHandler::choices_of(print), (std::vector<std::string>{"Quit", "Retry", "Default"}));
  EXPECT_NE(ScreenErrorHandler::message_of(print).find("try 3"), std::string::npos);
}

TEST(ScreenErrorHandler, AnswerComesFromTheChosenButtonAndEscIsNotAnAnswer) {
  testing::TestScreen t;
  ScreenErrorHandler handler(t.con);
  t.con.say(16, 10, "under the box");
  const std::string before = t.row(16);
  t.terminal.type({key::kEsc, 'R'});
  EXPECT_EQ(handler.handle(open_error()), ErrorAnswer::Retry);
  EXPECT_EQ(t.row(16), before);  // the screen under the box is back
  t.terminal.type({key::kRight, key::kEnter});
  EXPECT_EQ(handler.handle(open_error()), ErrorAnswer::Retry);
  t.terminal.type({'q'});
  EXPECT_EQ(handler.handle(open_error()), ErrorAnswer::Quit);
}

}  // namespace
}  // namespace intra
