#include "main/startup/start_argument.h"

namespace intra {

bool argument_begins_with(std::string_view www, std::string_view prefix) {
  return www.substr(0, prefix.size()) == prefix;
}

std::string start_argument_value(std::optional<std::string_view> argument) {
  if (!argument) return "";
  if (argument_begins_with(*argument, "cd")) return "CD";
  return std::string(*argument);
}

bool is_no_rebuild_argument(std::string_view www) {
  return argument_begins_with(www, "CD") || argument_begins_with(www, "cd");
}

bool is_rebuild_argument(std::string_view www) { return argument_begins_with(www, "3"); }

bool is_index_rebuild_argument(std::string_view www) { return argument_begins_with(www, "888"); }

bool is_month_argument(std::string_view www) {
  if (www.size() != 5 || www[2] != '.') return false;
  for (std::size_t i : {0u, 1u, 3u, 4u})
    if (www[i] < '0' || www[i] > '9') return false;
  const int month = (www[0] - '0') * 10 + (www[1] - '0');
  return month < 13;
}

}  // namespace intra
