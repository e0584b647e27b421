#pragma once
// The table of report routines VIEW_DRUK runs by name. Each library that
// has reports adds them once (for instance at start-up); names are looked
// up in capitals, so "XML_IntraStat" and "XML_INTRASTAT" are one routine.
//
//   register_report_routine("XML_IntraStat", [](ReportArguments& args) { ... });
#include <functional>
#include <string_view>
#include <vector>

#include "main/value.h"

namespace intra {

// The further values handed to a report, each by reference (0 to 3 of them).
using ReportArguments = std::vector<Value*>;
using ReportRoutine = std::function<void(ReportArguments&)>;

// Adds or replaces the routine of `name`; an empty routine removes it.
void register_report_routine(std::string_view name, ReportRoutine routine);
// The routine of `name` (any case), nullptr when none is registered.
const ReportRoutine* find_report_routine(std::string_view name);

}  // namespace intra
