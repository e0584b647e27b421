#include "storage/dbtool/field_text.h"

#include <charconv>

#include "storage/memo_file.h"

namespace intra::dbtool {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

std::string_view trim_trailing_blanks(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string quoted(std::string_view s) { return "\"" + std::string(s) + "\""; }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// [-+]digits[.digits] with at least one digit, and nothing else.
bool parse_plain_number(std::string_view text, double& number) {
  std::string_view body = text;
  bool negative = false;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }
  std::size_t digits = 0, points = 0;
  for (char c : body) {
    if (is_digit(c))
      ++digits;
    else if (c == '.')
      ++points;
    else
      return false;
  }
  if (digits == 0 || points > 1) return false;
  const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), number, std::chars_format::fixed);
  if (ec != std::errc() || end != body.data() + body.size()) return false;
  if (negative) number = -number;
  return true;
}

std::string plain_decimal(double number) {
  char buffer[400];  // the longest fixed form of a double is 309 digits and a sign
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::fixed);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

}  // namespace

bool parse_field_text(const FieldDescriptor& field, std::string_view text, std::optional<Value>& value,
                      std::string& problem) {
  value.reset();
  if (field.type == 'C') {
    if (!text.empty()) value = Value(text);
    return true;
  }
  if (field.type == 'M') {
    if (text.find(MemoFile::kTerminator) != std::string_view::npos) {
      problem = "a memo text cannot hold the byte 0x1A";
      return false;
    }
    if (!text.empty()) value = Value(text);
    return true;
  }

  const std::string_view trimmed = trim_blanks(text);
  if (trimmed.empty()) return true;
  switch (field.type) {
    case 'D': {
      const bool eight_digits = trimmed.size() == 8 && trimmed.find_first_not_of("0123456789") == std::string_view::npos;
      const Date date = eight_digits ? Date::from_dtos(trimmed) : Date();
      if (date.empty()) {
        problem = quoted(trimmed) + " is not a date YYYYMMDD";
        return false;
      }
      value = Value(date);
      return true;
    }
    case 'L': {
      const char c = trimmed.size() == 1 ? trimmed.front() : '?';
      if (c == 'T' || c == 't' || c == 'Y' || c == 'y') {
        value = Value(true);
      } else if (c == 'F' || c == 'f' || c == 'N' || c == 'n') {
        value = Value(false);
      } else {
        problem = quoted(trimmed) + " is not a logical T or F";
        return false;
      }
      return true;
    }
    default: {  // the numeric types
      double number = 0;
      if (!parse_plain_number(trimmed, number)) {
        problem = quoted(trimmed) + " is not a number";
        return false;
      }
      value = Value(number);
      return true;
    }
  }
}

bool field_text(Table& table, int index, std::string& text) {
  const FieldDescriptor& field = table.fields()[static_cast<std::size_t>(index)];
  std::string_view stored;
  if (!table.raw(index, stored)) return false;
  switch (field.type) {
    case 'C':
      text = trim_trailing_blanks(stored);
      return true;
    case 'N':
    case 'F':
      text = trim_blanks(stored);
      return true;
    case 'L':
      if (trim_blanks(stored).empty()) {
        text.clear();
        return true;
      }
      break;
    default:
      break;
  }

  Value value;
  if (!table.get(index, value)) return false;
  switch (field.type) {
    case 'L': text = value.logical() ? "T" : "F"; break;
    case 'D': text = value.date().empty() ? std::string() : value.date().dtos(); break;
    case 'M': text = value.text(); break;
    default: text = plain_decimal(value.number()); break;
  }
  return true;
}

}  // namespace intra::dbtool
