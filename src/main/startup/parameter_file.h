#pragma once
// The parameter file parametr.mem at start-up: the J_ parameters every
// station of the working directory shares, restored over the defaults or,
// at the first start, created from them; the tax rates set once.
#include "main/public_variables.h"

namespace intra {

// *save*: every visible variable whose name begins with "J_" into
// parametr.mem, replacing the file. True when the file was written.
bool save_parameters(PublicVariables& vars);

// Steps 13 and 14 of the start-up. When parametr.mem exists its variables
// are restored additively (a stored name without a variable becomes a
// private variable of `caller`, the entry routine); then, with a start
// argument beginning with "3" at station 1 and J_DF_NAZWA not beginning
// with "PLAVEX", J_I3 := "3" and a save. Without the file: a save. Then, when
// J_PTUA still says "--" (rates never set), the rates get their defaults
// and are saved again.
void restore_or_create_parameters(PublicVariables& vars, PublicVariables::PrivateScope& caller);

}  // namespace intra
