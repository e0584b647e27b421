#include "screen/yes_no_question.h"

#include "screen/key_codes.h"
#include "screen/message_window.h"

namespace intra {
namespace {

constexpr int kAnswerTop = 18, kAnswerLeft = 37, kAnswerBottom = 20, kAnswerRight = 65;
constexpr int kPromptRow = 19, kPromptCol = 38;
constexpr std::string_view kPrompt = "      [T/N]  ? ";
constexpr int kDefaultCol = kPromptCol + static_cast<int>(kPrompt.size());

constexpr Attribute kDefaultOnColour = make_attribute(7, 4, true);  // W+/R
constexpr Attribute kDefaultOnMono = make_attribute(0, 7);          // N/W

bool is_blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

bool means_yes(std::string_view answer) {
  const std::size_t first = answer.find_first_not_of(' ');
  return first != std::string_view::npos && (answer[first] == 'T' || answer[first] == 't');
}

void draw_answer_box(Console& con, std::string_view default_answer) {
  con.screen().fill(kAnswerTop, kAnswerLeft, kAnswerBottom, kAnswerRight, ' ', ColourSetting::kDefaultStandard);
  con.box(kAnswerTop, kAnswerLeft, kAnswerBottom, kAnswerRight, BoxType::Single, ColourSetting::kDefaultStandard);
  con.show_cursor(true);  // stays on after the question, as callers expect
  con.say(kPromptRow, kPromptCol, kPrompt, ColourSetting::kDefaultStandard);
  con.say(kPromptRow, kDefaultCol, default_answer, con.is_colour() ? kDefaultOnColour : kDefaultOnMono);
  con.set_pos(kPromptRow, kDefaultCol);
}

}  // namespace

bool OKNO(std::string_view question, std::string_view default_answer, Console& con) {
  const ScreenUnderMessage under(con);
  draw_message_window(con, question, kMessageFrame, kMessageText);
  draw_answer_box(con, default_answer);

  const bool enter_answers = !is_blank(default_answer);
  for (;;) {
    switch (con.inkey(0)) {
      case 'T':
      case 't': return true;
      case 'N':
      case 'n': return false;
      case key::kEnter:
        if (enter_answers) return means_yes(default_answer);
        break;
      default: break;  // any other key: the question stays
    }
  }
}

bool OKNO(std::string_view question, std::string_view default_answer, std::string_view force, Console& con) {
  if (force.starts_with('T')) return true;
  return OKNO(question, default_answer, con);
}

}  // namespace intra
