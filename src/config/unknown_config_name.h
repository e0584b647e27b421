#pragma once
// The end of the program after a configuration value was asked for by a
// name outside the table. Only the program's own calls can do that, never
// user input, so the tester is told the name and the run ends.

#include <string_view>

namespace intra {

// Writes a line of 30 "=", "Testerze sprawdz parametr <name>" and an empty
// line, waits for a key, closes all tables, selects work area 1 and ends
// the program (throws QuitProgram with exit code 1).
[[noreturn]] void end_for_unknown_config_name(std::string_view name);

}  // namespace intra
