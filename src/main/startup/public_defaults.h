#pragma once
// The public variables MAIN creates, with the values they hold when the
// declaration screen is entered.
#include "main/clock.h"
#include "main/public_variables.h"

namespace intra {

// The system's title kept in J_NAZWA: 18 characters, a blank, two upper-case
// words, a blank.
inline constexpr const char* kSystemTitle = " SYSTEM INTRASTAT ";
// The J_BOSS default: a four-letter upper-case word.
inline constexpr const char* kBossWord = "SZEF";

// Step 2 of the start-up: every control, working and configuration variable
// with its default. The configuration parameters that receive their value
// only once the tables are open are declared without a value (logical
// false), and J_SD_Z1MAG, J_DOP_UJEM and J_BEZ_VIEW do not exist yet.
void create_public_variables(PublicVariables& vars, const LocalTime& start);

// Step 12: those late configuration parameters get their defaults.
void assign_late_parameters(PublicVariables& vars);

// The letters, digits, punctuation and Polish letters accepted in names (ZNAKI).
std::string accepted_name_characters();

}  // namespace intra
