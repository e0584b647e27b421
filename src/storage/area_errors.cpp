#include "storage/area_errors.h"

#include <string>

namespace intra {
namespace {

RunError base_error(int general, int specific, std::string description, std::string operation) {
  RunError e;
  e.subsystem = "BASE";
  e.general_code = general;
  e.specific_code = specific;
  e.description = std::move(description);
  e.operation = std::move(operation);
  e.can_default = true;
  return e;
}

}  // namespace

RunError alias_missing(std::string_view alias) {
  return base_error(15, 1002, "Alias does not exist", std::string(alias));
}

RunError area_not_in_use(int number) {
  return base_error(35, 2001, "Workarea not in use", std::to_string(number));
}

RunError field_missing(std::string_view alias, std::string_view field) {
  return base_error(14, 1003, "No such field", std::string(alias) + "->" + std::string(field));
}

RunError bad_expression(std::string_view problem) {
  return base_error(2, 1449, "Syntax error", std::string(problem));
}

bool report_area_error(const RunError& error) { return raise_run_error(error) == ErrorAnswer::Retry; }

}  // namespace intra
