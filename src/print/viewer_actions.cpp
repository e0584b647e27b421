#include "print/viewer_actions.h"

#include "main/ascii_case.h"
#include "main/public_variables.h"
#include "print/blank_trim.h"
#include "print/bottom_line.h"
#include "print/mailer.h"
#include "print/process_runner.h"
#include "print/text_copies.h"
#include "print/viewer_services.h"
#include "screen/key_codes.h"
#include "screen/message_window.h"
#include "screen/text_helpers.h"
#include "storage/file_x.h"
#include "storage/table_operations.h"
#include "storage/work_areas.h"

namespace intra {
namespace {

constexpr const char* kNoName = "Nie kopiuje (nie podano pliku)";
constexpr const char* kNoEnter = "Nie kopiuje (brak Enter)";
constexpr const char* kCopied = "Skopiowano do ";
constexpr int kCopiedSeconds = 10;

long station_number() {
  const PublicVariables& vars = publics();
  return vars.exists("STACJA") && vars.get("STACJA").is_number() ? static_cast<long>(vars.number("STACJA")) : 0;
}

// The copy printed by Alt+F5 and Ctrl+F5: the file's name without its
// last character (wydruk01.prn -> wydruk01.pr).
std::string prepared_copy_name(const std::string& file) { return file.substr(0, file.empty() ? 0 : file.size() - 1); }

// TXT\ + name, with ".TXT" added unless the name has it.
std::string text_copy_target(const std::string& name) {
  const std::string trimmed = trim_blanks(name);
  return upper_ascii(trimmed).find(".TXT") != std::string::npos ? "TXT\\" + trimmed : "TXT\\" + trimmed + ".TXT";
}

std::string copy_into_text_directory(const std::string& file, const std::string& name, FileSystem& fs) {
  if (!fs.is_directory("TXT")) fs.make_directory("TXT");
  const std::string target = text_copy_target(name);
  fs.remove(target);
  KOP_TXT(file, target, fs);
  return target;
}

void say_not_copied(Console& con, bool left_with_enter) { OKNO_(left_with_enter ? kNoName : kNoEnter, con); }

void flush_all_tables() {
  for (int number = 1; number <= WorkAreas::kCount; ++number) {
    WorkArea& each = work_areas().at(number);
    if (each.used()) each.commit();
  }
}

// The address Alt+E starts from: E_MAIL of the current contractor when
// work area 3 holds the contractor table (alias ZO) and is on a record.
std::string contractor_address() {
  WorkArea& contractors = work_areas().at(3);
  if (!contractors.used() || upper_ascii(contractors.alias()) != "ZO" || contractors.eof() ||
      contractors.field_pos("E_MAIL") == 0)
    return {};
  const Value address = contractors.get("E_MAIL");
  return address.is_text() ? address.text() : std::string();
}

}  // namespace

std::string pdf_request_file() { return "PDF" + STR2(station_number()) + ".TXT"; }

bool print_whole(const std::string& file) {
  ViewerServices& services = viewer_services();
  if (!services.printing()) return false;
  if (services.drukowac()) services.file_to_printer(file);
  return true;
}

bool print_part(Console& con, const std::string& file) {
  ViewerServices& services = viewer_services();
  if (!services.printing()) return false;
  const std::optional<PartToPrint> part = ask_part_to_print(con);
  if (!part || (part->from_text.empty() && part->to_text.empty())) return false;
  if (services.drukowac()) {
    const std::string copy = prepared_copy_name(file);
    COPY_TXT(file, copy, part->from_text, part->to_text);
    services.file_to_printer(copy);
  }
  return true;
}

bool print_after_blank_lines(Console& con, const std::string& file) {
  ViewerServices& services = viewer_services();
  if (!services.printing()) return false;
  const std::optional<int> blank_lines = ask_blank_lines(con);
  if (!blank_lines) return false;
  if (services.drukowac()) {
    const std::string copy = prepared_copy_name(file);
    COPY_TXT(file, copy, *blank_lines);
    services.file_to_printer(copy);
  }
  return true;
}

void copy_to_text(Console& con, const std::string& file, std::string& remembered, FileSystem& fs) {
  const CopyName asked = ask_copy_name(con, kCopyToText, remembered);
  remembered = asked.name;
  if (asked.name.empty()) {
    say_not_copied(con, asked.left_with_enter);
  } else {
    const std::string target = copy_into_text_directory(file, asked.name, fs);
    OKNO_(kCopied + target, kCopiedSeconds, con);
  }
  flush_all_tables();
}

void copy_and_edit(const std::string& file, FileSystem& fs) {
  ViewerServices& services = viewer_services();
  if (!services.medit) return;
  const PublicVariables& vars = publics();
  const std::string plik = vars.exists("PLIK") && vars.get("PLIK").is_text() ? vars.text("PLIK") : std::string();
  const std::string name = plik.size() > 8 ? plik.substr(4, plik.size() - 8) : std::string();
  if (trim_blanks(name).empty()) {
    say_not_copied(console(), true);
  } else {
    services.medit(copy_into_text_directory(file, name, fs));
  }
  flush_all_tables();
}

void copy_table(Console& con, std::string& remembered) {
  const CopyName asked = ask_copy_name(con, kCopyToTable, remembered);
  remembered = asked.name;
  if (asked.name.empty()) {
    say_not_copied(con, asked.left_with_enter);
  } else if (!USED()) {
    OKNO_("Brak bazy", "", con);
  } else {
    const bool at_end = EOF_();
    const std::uint32_t record = RECNO();
    DBCOPY(asked.name);
    if (at_end)
      DBGOBOTTOM(), DBSKIP(1);
    else
      DBGOTO(record);
    OKNO_(kCopied + asked.name, con);
  }
  flush_all_tables();
}

void request_pdf(Console& con, const std::string& file, FileSystem& fs) {
  KOP_TXT(file, pdf_request_file(), fs);
  con.push_key(key::kEsc);
}

void mail_file(Console& con, const std::string& file, FileSystem& fs) {
  const std::string server = mail_server();
  if (!FILE_X("BLAT.EXE", fs) || server.empty()) return;
  const MailForm form = ask_mail(con, contractor_address());
  const std::string address = trim_blanks(form.address);
  ViewerServices& services = viewer_services();
  if (!address.empty() && address.find('@') != std::string::npos && FILE_X("E_POCZTA.TXT", fs) &&
      services.make_pdf) {
    const std::string pdf = services.make_pdf(file);
    if (!pdf.empty()) {
      TWORZ_TXT(trim_right(form.text), kMailTextFile, fs);
      process_runner().run(mail_request(address, server, pdf, fs));
    }
  }
  con.push_key(key::kEsc);
}

}  // namespace intra
