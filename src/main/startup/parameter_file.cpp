#include "main/startup/parameter_file.h"

#include "main/text_comparison.h"
#include "storage/file_x.h"
#include "storage/memory_variable_file.h"

namespace intra {

bool save_parameters(PublicVariables& vars) { return MVSAVE("parametr", "J_*", true, false, vars); }

void restore_or_create_parameters(PublicVariables& vars, PublicVariables::PrivateScope& caller) {
  // 13. Stored values override the defaults.
  if (FILE_X("parametr.mem")) {
    MVRESTORE("parametr", true, false, "*", true, &caller, vars);
    if (text_equals(vars.text("WWW"), "3") && vars.number("STACJA") == 1 &&
        !text_equals(vars.text("J_DF_NAZWA"), "PLAVEX")) {
      vars.set("J_I3", "3");
      save_parameters(vars);
    }
  } else {
    save_parameters(vars);
  }

  // 14. Tax rates that were never set.
  if (vars.get("J_PTUA") == Value("--")) {
    vars.set("J_PTUA", "23");
    vars.set("J_PTUB", " 8");
    vars.set("J_PTUC", " 0");
    vars.set("J_PTUD", " 5");
    vars.set("J_PTUE", " 0");
    vars.set("J_PTUF", " 0");
    vars.set("J_PTUZ", "ZW");
    save_parameters(vars);
  }
}

}  // namespace intra
