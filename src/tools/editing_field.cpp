#include "tools/editing_field.h"

#include <utility>

#include "screen/form.h"

namespace intra {
namespace {
EditingFieldQuery& installed_query() {
  static EditingFieldQuery query;
  return query;
}
}  // namespace

void set_editing_field_query(EditingFieldQuery query) { installed_query() = std::move(query); }

std::string editing_field_variable() {
  const EditingFieldQuery& query = installed_query();
  return query ? query() : form_editing_variable();
}

}  // namespace intra
