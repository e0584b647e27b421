#include "print/bottom_line.h"

#include "main/ascii_case.h"
#include "main/public_variables.h"
#include "print/blank_trim.h"
#include "screen/form.h"
#include "screen/key_codes.h"

namespace intra {
namespace {

constexpr int kStatusRow = 24;

}  // namespace

BottomLine::BottomLine(Console& con) : con_(con), rows_(con.save(23, 0, 24, 79)) {
  con_.set_colour("");
  con_.clear_rect(kStatusRow, 0, kStatusRow, 79);
  con_.show_cursor(true);
}

BottomLine::~BottomLine() {
  con_.show_cursor(false);
  con_.set_colour("N/W");
  con_.restore(rows_);
}

std::optional<PartToPrint> ask_part_to_print(Console& con) {
  BottomLine line(con);
  PublicVariables::PrivateScope scope(publics());
  scope.declare("DRUK_OD", Value::blanks(20));
  scope.declare("DRUK_DO", Value::blanks(20));
  Form form(con);
  form.say_get(kStatusRow, 0, "Druk od wiersza :", "DRUK_OD", "@!");
  form.say_get(kStatusRow, 42, "     do wiersza :", "DRUK_DO", "@!");
  if (form.read() == key::kEsc) return std::nullopt;
  return PartToPrint{trim_blanks(upper_ascii(publics().text("DRUK_OD"))),
                     trim_blanks(upper_ascii(publics().text("DRUK_DO")))};
}

std::optional<int> ask_blank_lines(Console& con) {
  BottomLine line(con);
  PublicVariables::PrivateScope scope(publics());
  scope.declare("ILE_PUSTYCH", Value(0));
  Form form(con);
  form.say_get(kStatusRow, 0, "ILE zrobic pustych wierszy:", "ILE_PUSTYCH", "99");
  if (form.read() == key::kEsc) return std::nullopt;
  return static_cast<int>(publics().number("ILE_PUSTYCH"));
}

CopyName ask_copy_name(Console& con, const char* label, const std::string& remembered) {
  BottomLine line(con);
  PublicVariables::PrivateScope scope(publics());
  scope.declare("PLIK_KOPII", Value(padded(remembered, 50)));
  Form form(con);
  form.say_get(kStatusRow, 0, label, "PLIK_KOPII", "@!");
  const int how = form.read();
  return CopyName{trim_right(upper_ascii(publics().text("PLIK_KOPII"))), how == key::kEnter};
}

MailForm ask_mail(Console& con, const std::string& initial_address) {
  BottomLine line(con);
  PublicVariables::PrivateScope scope(publics());
  scope.declare("E_MAIL_DO", Value(padded(initial_address, 40)));
  scope.declare("E_TEKST", Value(padded("Pozdrawiam", 50)));
  Form form(con);
  form.say_get(kStatusRow, 0, "e_mail:", "E_MAIL_DO", "@S30");
  form.say_get(kStatusRow, 40, "tekst:", "E_TEKST", "@S43");
  form.read();
  return MailForm{publics().text("E_MAIL_DO"), publics().text("E_TEKST")};
}

}  // namespace intra
