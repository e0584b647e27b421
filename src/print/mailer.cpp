#include "print/mailer.h"

#include "main/public_variables.h"
#include "print/blank_trim.h"
#include "storage/work_areas.h"
#include "storage/work_area.h"

namespace intra {

std::string mail_server() {
  PublicVariables& vars = publics();
  if (vars.exists("M_SMTP") && vars.get("M_SMTP").is_text()) {
    std::string server = trim_blanks(vars.text("M_SMTP"));
    if (!server.empty()) return server;
  }
  WorkAreas& areas = work_areas();
  const int number = areas.number_of("firma");
  if (number == 0) return {};
  WorkArea& company = areas.at(number);
  if (!company.used() || company.field_pos("SMTP") == 0 || company.eof()) return {};
  const Value smtp = company.get("SMTP");
  return smtp.is_text() ? trim_blanks(smtp.text()) : std::string();
}

ProcessRequest mail_request(std::string_view address, std::string_view server, std::string_view pdf_path,
                            const FileSystem& fs) {
  ProcessRequest request;
  request.working_directory = fs.resolve(".");
  request.program = fs.exists("blat") ? fs.resolve("blat").string() : std::string("blat");
  request.arguments = {kMailTextFile, "-to",       trim_blanks(address),
                       "-server",     trim_blanks(server), "-subject",
                       kMailSubject,  "-attach",   fs.resolve(pdf_path).string()};
  return request;
}

}  // namespace intra
