#include "database/call_site.h"

namespace intra {
namespace {

// Where the parameter list of the routine starts: the first '(' outside
// template brackets. Lambdas and local classes come after it, so the name
// before it is the enclosing routine's.
std::size_t parameter_list_start(std::string_view signature) {
  int angle_depth = 0;
  for (std::size_t i = 0; i < signature.size(); ++i) {
    const char c = signature[i];
    if (c == '<') ++angle_depth;
    else if (c == '>' && angle_depth > 0) --angle_depth;
    else if (c == '(' && angle_depth == 0) return i;
  }
  return std::string_view::npos;
}

// "B<int, C<D>>" -> "B": drops the template arguments at the end of a name.
std::string_view without_template_arguments(std::string_view name) {
  if (name.empty() || name.back() != '>') return name;
  int depth = 0;
  for (std::size_t i = name.size(); i-- > 0;) {
    if (name[i] == '>') ++depth;
    else if (name[i] == '<' && --depth == 0) return name.substr(0, i);
  }
  return name;
}

}  // namespace

CallSite::CallSite(const std::source_location& where)
    : routine_(bare_routine_name(where.function_name())), line_(static_cast<unsigned>(where.line())) {}

std::string CallSite::text() const { return routine_ + "(" + std::to_string(line_) + ")"; }

std::string bare_routine_name(std::string_view signature) {
  const std::size_t open = parameter_list_start(signature);
  if (open == std::string_view::npos) return std::string(signature);
  std::string_view name = without_template_arguments(signature.substr(0, open));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  const std::size_t scope = name.rfind("::");
  if (scope != std::string_view::npos) name.remove_prefix(scope + 2);
  const std::size_t blank = name.rfind(' ');
  if (blank != std::string_view::npos) name.remove_prefix(blank + 1);
  while (!name.empty() && (name.front() == '*' || name.front() == '&')) name.remove_prefix(1);
  return name.empty() ? std::string(signature) : std::string(name);
}

}  // namespace intra
