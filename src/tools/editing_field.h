#pragma once
// Which form field is being edited, for routines opened from inside a form
// through a hot key (the calculator starts from a numeric field's value and
// writes its result back). The form reader registers a query; without one
// no field is being edited.
#include <functional>
#include <string>

namespace intra {

// Returns the variable name of the field with the cursor, "" when none.
using EditingFieldQuery = std::function<std::string()>;

// Installs the query (an empty one removes it).
void set_editing_field_query(EditingFieldQuery query);
// The variable of the field being edited now, "" when none.
std::string editing_field_variable();

}  // namespace intra
