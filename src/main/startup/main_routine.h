#pragma once
// MAIN, the program's only entry routine: run-time settings, public
// variables, banner, start argument, station registration, tables, print
// file name, key names, parameters, the declaration screen, station release.
#include <optional>
#include <string>
#include <string_view>

namespace intra {

// Runs the start-up sequence and the declaration once; returns the process
// exit code. Needs the run's console, clock and file system installed.
int MAIN(std::optional<std::string_view> start_argument);

// MAIN with the termination routine on every way out: a normal end, an
// early end of the sequence, a quit chosen in the error handler (whose exit
// code it returns) or an exception passing through.
int run_program(std::optional<std::string_view> start_argument);

// Step 1: the run-time settings every other routine relies on.
void apply_run_settings();

// The banner written at the top of the screen; it stays under the start-up messages.
std::string banner_text();

}  // namespace intra
