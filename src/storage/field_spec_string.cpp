#include "storage/field_spec_string.h"

#include <charconv>

namespace intra {
namespace {

constexpr std::size_t kEntriesPerField = 4;
constexpr std::size_t kLongestFieldName = 10;
// Type letters a table can be created with.
constexpr std::string_view kCreatableTypes = "CNFDLM";

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool is_ascii_letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool is_ascii_digit(char c) { return c >= '0' && c <= '9'; }

std::vector<std::string_view> split_entries(std::string_view text) {
  std::vector<std::string_view> entries;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) {
      entries.push_back(text.substr(start));
      return entries;
    }
    entries.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

// Checks one name; returns it in capitals, or an empty string with `problem` set.
std::string field_name(std::string_view entry, std::string& problem) {
  const std::string_view name = trim_blanks(entry);
  if (name.empty()) {
    problem = "no name";
    return {};
  }
  if (name.size() > kLongestFieldName) {
    problem = "name " + quoted(name) + " is longer than 10 characters";
    return {};
  }
  if (!is_ascii_letter(name.front())) {
    problem = "name " + quoted(name) + " does not start with a letter";
    return {};
  }
  std::string upper;
  for (char c : name) {
    if (!is_ascii_letter(c) && !is_ascii_digit(c) && c != '_') {
      problem = "name " + quoted(name) + " holds a character other than letters, digits and _";
      return {};
    }
    upper += upper_ascii(c);
  }
  return upper;
}

bool small_number(std::string_view entry, const char* what, int& value, std::string& problem) {
  const std::string_view digits = trim_blanks(entry);
  const bool all_digits = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
  if (!all_digits) {
    problem = std::string(what) + " " + quoted(digits) + " is not a number";
    return false;
  }
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) {
    problem = std::string(what) + " " + quoted(digits) + " is out of range";
    return false;
  }
  return true;
}

}  // namespace

std::optional<ParsedSpec> parse_field_spec_string(std::string_view text, std::string& problem) {
  std::vector<std::string_view> entries = split_entries(text);
  // One comma may close the last group; it leaves a final empty entry.
  if (entries.size() > 1 && trim_blanks(entries.back()).empty() && (entries.size() - 1) % kEntriesPerField == 1)
    entries.pop_back();

  ParsedSpec parsed;
  parsed.path = std::string(trim_blanks(entries.front()));
  if (parsed.path.empty()) {
    problem = "no table name before the first comma";
    return std::nullopt;
  }
  const std::size_t field_entries = entries.size() - 1;
  if (field_entries == 0) {
    problem = "no field after the table name";
    return std::nullopt;
  }
  if (field_entries % kEntriesPerField != 0) {
    problem = std::to_string(field_entries) + " entries after the table name; each field needs 4 (name, type, width, decimals)";
    return std::nullopt;
  }

  for (std::size_t first = 1; first < entries.size(); first += kEntriesPerField) {
    const std::size_t number = (first - 1) / kEntriesPerField + 1;
    std::string detail;
    auto refuse = [&](const std::string& what) {
      const std::string name(trim_blanks(entries[first]));
      problem = "field " + std::to_string(number) + (name.empty() ? "" : " (" + name + ")") + ": " + what;
      return std::nullopt;
    };

    FieldSpec field;
    field.name = field_name(entries[first], detail);
    if (field.name.empty()) return refuse(detail);
    for (const FieldSpec& earlier : parsed.fields)
      if (earlier.name == field.name) return refuse("the name is used twice");

    const std::string_view type = trim_blanks(entries[first + 1]);
    if (type.size() != 1 || kCreatableTypes.find(upper_ascii(type.front())) == std::string_view::npos)
      return refuse("type " + quoted(type) + " is not one of C N F D L M");
    field.type = upper_ascii(type.front());

    if (!small_number(entries[first + 2], "width", field.width, detail)) return refuse(detail);
    if (!small_number(entries[first + 3], "decimals", field.decimals, detail)) return refuse(detail);
    parsed.fields.push_back(std::move(field));
  }
  return parsed;
}

}  // namespace intra
