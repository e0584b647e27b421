#include "storage/dbtool/key_value_text.h"

#include <optional>

#include "storage/dbtool/field_text.h"

namespace intra::dbtool {
namespace {

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

bool digits_at(std::string_view text, std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < from + count; ++i)
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return false;
  return true;
}

int number_at(std::string_view text, std::size_t from, std::size_t count) {
  int n = 0;
  for (std::size_t i = from; i < from + count; ++i) n = n * 10 + (text[i] - '0');
  return n;
}

// The two forms people type; anything else, an impossible day included, is
// refused rather than read as the empty date.
std::optional<Date> parse_date(std::string_view text) {
  if (text.find_first_not_of(' ') == std::string_view::npos) return Date();
  if (text.size() == 8 && digits_at(text, 0, 8)) {
    const Date date = Date::from_dtos(text);
    if (!date.empty()) return date;
  }
  if (text.size() == 10 && digits_at(text, 0, 2) && text[2] == '.' && digits_at(text, 3, 2) && text[5] == '.' &&
      digits_at(text, 6, 4)) {
    const Date date = Date::from_ymd(number_at(text, 6, 4), number_at(text, 3, 2), number_at(text, 0, 2));
    if (!date.empty()) return date;
  }
  return std::nullopt;
}

}  // namespace

bool parse_key_value(KeyType type, std::string_view text, Value& value, std::string& problem) {
  switch (type) {
    case KeyType::Character:
      value = Value(text);
      return true;
    case KeyType::Date: {
      const std::optional<Date> date = parse_date(text);
      if (!date) {
        problem = quoted(text) + " is not a date YYYYMMDD or dd.mm.yyyy";
        return false;
      }
      value = Value(*date);
      return true;
    }
    case KeyType::Logical:
      if (text == "T" || text == "t" || text == "F" || text == "f") {
        value = Value(text == "T" || text == "t");
        return true;
      }
      problem = quoted(text) + " is not a logical T or F";
      return false;
    case KeyType::Numeric: {
      // The importer's strict number reader; a blank text is no number here.
      FieldDescriptor number_field;
      number_field.type = 'N';
      std::optional<Value> parsed;
      if (!parse_field_text(number_field, text, parsed, problem)) return false;
      if (!parsed) {
        problem = quoted(text) + " is not a number";
        return false;
      }
      value = *parsed;
      return true;
    }
  }
  problem = "unknown key type";
  return false;
}

}  // namespace intra::dbtool
