#pragma once
// Run-time errors of the work-area layer itself: the program asked for an
// alias, a field or an area that is not there. They go to the run's error
// handler like the engine's own errors; Default goes on with an empty result.
#include <string_view>

#include "main/run_error.h"

namespace intra {

// BASE/1002 "Alias does not exist: zo"
RunError alias_missing(std::string_view alias);
// BASE/2001 "Workarea not in use: 17"
RunError area_not_in_use(int number);
// BASE/1003 "No such field: as->NAZWA2"
RunError field_missing(std::string_view alias, std::string_view field);
// BASE/1449 "Syntax error: unknown field XYZ in key UPPER(XYZ)"
RunError bad_expression(std::string_view problem);

// Hands one of the above to the handler; true when the user chose Retry.
bool report_area_error(const RunError& error);

}  // namespace intra
