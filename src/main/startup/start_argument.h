#pragma once
// The one optional start argument and the tests routines make on it. All
// of them are prefix comparisons: "30" counts as "3", "cdx" as "cd".
#include <optional>
#include <string>
#include <string_view>

namespace intra {

// WWW as the start-up keeps it: "" without an argument, exactly "CD" for
// any argument that begins with "cd", otherwise the argument as given.
std::string start_argument_value(std::optional<std::string_view> argument);

bool argument_begins_with(std::string_view www, std::string_view prefix);
// No index rebuild at this start ("cd"/"CD").
bool is_no_rebuild_argument(std::string_view www);
// Rebuild request of the "3" argument.
bool is_rebuild_argument(std::string_view www);
// Index rebuild request of the "888" argument.
bool is_index_rebuild_argument(std::string_view www);
// A working-month switch: five characters mm.yy, a point third, month below 13.
bool is_month_argument(std::string_view www);

}  // namespace intra
