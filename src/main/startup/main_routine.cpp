#include "main/startup/main_routine.h"

#include "main/public_variables.h"
#include "main/run_error.h"
#include "main/run_settings.h"
#include "main/startup/public_defaults.h"
#include "main/startup/parameter_file.h"
#include "main/startup/start_argument.h"
#include "main/startup/viewer_wiring.h"
#include "main/termination.h"
#include "storage/table_operations.h"
#include "screen/console.h"
#include "screen/key_names.h"
#include "screen/text_helpers.h"
#include "session/network_session.h"

#ifndef INTRASTAT_VERSION
#define INTRASTAT_VERSION "0"
#endif

namespace intra {

void apply_run_settings() {
  run_settings() = RunSettings();
  if (has_console()) {
    console().show_cursor(run_settings().cursor_visible);
    console().set_colour("");
  }
}

std::string banner_text() { return "INTRASTAT - stanowisko deklaracji Intrastat, wersja " INTRASTAT_VERSION; }

int MAIN(std::optional<std::string_view> start_argument) {
  PublicVariables& vars = publics();
  Console& con = console();

  // 1-2. Settings and the public variables with their defaults.
  apply_run_settings();
  vars.clear();
  create_public_variables(vars, run_clock().local_time());

  // 3. Default colours, a clean screen without pending form fields, the banner.
  con.set_colour("");
  con.clear();
  vars.set("GETLIST", ValueList{});
  con.say(0, 0, banner_text());

  // 4. The start argument.
  vars.set("WWW", start_argument_value(start_argument));

  // 5. Values every start begins with.
  vars.set("J_ATEST", "T");
  vars.set("J_ATEST_ZA", "N");
  vars.set("J_SD_RABAT", " 2");
  for (const char* flag : {"JEST_ATEST", "JEST_NODB1", "JEST_ZO_NODB1", "JEST_KIER"}) vars.set(flag, "N");
  vars.set("J_XKW", "KW ");
  vars.set("J_XKP", "KP ");
  vars.set("INDEKSOWAC", false);
  vars.set("HH_OLD", "");

  // 6. The station: without one the program ends here, and there is no
  // station to free.
  const int station = IN_NET(Value(1));
  vars.set("STACJA", station);
  if (station == 0) return 0;

  // 7. The opening (or rebuild) of the tables joins the sequence here.

  // 8. The station's print file.
  vars.set("PLIK", "rob\\wydruk" + STR2(static_cast<long>(vars.number("STACJA"))) + ".prn");

  // 9-11. Key names, menu positions, working values.
  SLOWNIK(vars);
  for (const char* position : {"K_SPECJALNE", "K_RAPORTY", "K_OBROTY", "K_KONTRAHENCI", "K_TOWARY", "K_GLOWNE"})
    vars.set(position, 1);
  vars.set("M_WAL", "   ");
  vars.set("M_UTARG", 0);
  vars.set("M_RD", "   ");
  vars.set("M_ODB", Value::blanks(8));
  vars.set("M_RESZTA", 0);
  vars.set("M_NODB", Value::blanks(50));
  vars.set("M_NODB1", Value::blanks(50));
  vars.set("ZNAKI", accepted_name_characters());
  vars.set("M_DATA", run_clock().local_time().date);
  vars.set("POWROT", false);
  vars.set("POM", 0);

  // 12. The configuration parameters that wait for the tables.
  assign_late_parameters(vars);

  // 13-14. The parameter file: stored names that no variable holds become
  // private variables of this routine, so they live for the whole run.
  PublicVariables::PrivateScope restored(vars);
  restore_or_create_parameters(vars, restored);

  // 15. Values forced for this run whatever the parameter file says.
  vars.set("J_RABAT_ZB", "N");
  vars.set("J_ZAOKRAGL", "N");
  vars.set("J_NODB1", "N");
  vars.set("J_ZAKUPU", "T");
  vars.set("PODSTAWA_CENA0", true);
  vars.set("DOW_BLOKUJ", false);
  if (vars.get("J_WALUTA") == Value("N")) vars.set("JEST_WALUTA", "N");
  vars.set("J_PTUZ", "ZW");
  vars.set("M_SPZ", vars.get("J_SPZ"));

  // 16. Exit code and the main menu position.
  const int exit_code = 0;
  vars.set("K_GLOWNE", 3);

  // 17. The declaration screen runs here.

  // 18. The station free again and parametr.txt written.
  OUT_NET();
  con.refresh();
  return exit_code;
}

int run_program(std::optional<std::string_view> start_argument) {
  int exit_code = 0;
  connect_viewer_services();
  // Registered first, so it runs last: the tables close after everything
  // else that may still write to them.
  on_termination([] { DBCLOSEALL(); });
  try {
    exit_code = MAIN(start_argument);
  } catch (const QuitProgram& quit) {
    exit_code = quit.exit_code;
  } catch (...) {
    AWARIA();
    throw;
  }
  AWARIA();
  return exit_code;
}

}  // namespace intra
