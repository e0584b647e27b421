#pragma once
// The public variables that name key codes (ESC, ENTER, F1 ... CTRL_PGDN),
// so routines compare LASTKEY() with a name instead of a number.
#include "main/public_variables.h"

namespace intra {

// Creates the key-name public variables; always true.
bool SLOWNIK(PublicVariables& vars = publics());

}  // namespace intra
