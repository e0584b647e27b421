#pragma once
// Which form field is being edited, for routines opened from inside a form
// through a hot key (the calculator starts from a numeric field's value and
// writes its result back): the form reader's field, unless a query is
// installed in its place.
#include <functional>
#include <string>

namespace intra {

// Returns the variable name of the field with the cursor, "" when none.
using EditingFieldQuery = std::function<std::string()>;

// Installs a query in place of the form reader's (an empty one removes it).
void set_editing_field_query(EditingFieldQuery query);
// The variable of the field being edited now, "" when none.
std::string editing_field_variable();

}  // namespace intra
