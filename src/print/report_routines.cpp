#include "print/report_routines.h"

#include <map>
#include <string>

#include "main/ascii_case.h"

namespace intra {
namespace {
std::map<std::string, ReportRoutine>& routines() {
  static std::map<std::string, ReportRoutine> table;
  return table;
}
}  // namespace

void register_report_routine(std::string_view name, ReportRoutine routine) {
  const std::string key = upper_ascii(name);
  if (routine)
    routines()[key] = std::move(routine);
  else
    routines().erase(key);
}

const ReportRoutine* find_report_routine(std::string_view name) {
  const auto it = routines().find(upper_ascii(name));
  return it == routines().end() ? nullptr : &it->second;
}

}  // namespace intra
