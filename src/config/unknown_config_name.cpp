#include "config/unknown_config_name.h"

#include <iostream>
#include <string>

#include "main/run_error.h"
#include "screen/console.h"
#include "storage/table_operations.h"

namespace intra {

void end_for_unknown_config_name(std::string_view name) {
  const std::string rule(30, '=');
  const std::string message = "Testerze sprawdz parametr " + std::string(name);
  if (has_console()) {
    Console& con = console();
    con.out_line(rule);
    con.out_line(message);
    con.out_line("");
    con.inkey(0);
  } else {
    // Without a screen (a tool run) the tester still learns the name.
    std::cerr << rule << '\n' << message << '\n' << std::endl;
  }
  DBCLOSEALL();
  DBSELECTAREA(1);
  // No screen format is ever active in this program, so none is released.
  throw QuitProgram{1};
}

}  // namespace intra
