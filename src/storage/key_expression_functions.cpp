#include "storage/key_expression_functions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "storage/field_codec.h"
#include "storage/number_text.h"

namespace intra::key_expr {
namespace {

// DESCEND of a date: this number minus the date's day number (ours is the
// Julian day number, so 01.01.2000 gives 5231808 - 2451545 = 2780263).
constexpr double kDescendDateBase = 5231808.0;
// STR never builds a text wider than this: wider requests come only from
// garbage, and a key is at most 256 bytes anyway.
constexpr int kMaxStrWidth = 255;

// The whole part of a numeric argument (positions, lengths, widths), bounded
// so that no conversion can overflow; not-a-number counts as 0.
long long whole(const Value& v) {
  const double n = v.number();
  if (!std::isfinite(n)) return 0;
  return static_cast<long long>(std::clamp(n, -1.0e15, 1.0e15));
}

Value text_result(std::string_view text) { return Value(text); }

bool need(bool condition, const char* problem, const CallNode& call, Evaluation& e) {
  if (!condition) e.fail(problem, call.position());
  return condition;
}

// The digits are written here rather than through Date::dtos: this runs for
// every record of a bulk build and needs no general formatting.
Value call_dtos(const Value* a, int, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_date(), "DTOS takes a date", call, e)) return Value::blanks(8);
  const Date date = a[0].date();
  const int year = date.year();
  if (year < 1 || year > 9999) return Value(date.dtos());  // empty, or beyond four digits
  const int month = date.month();
  const int day = date.day();
  char text[8];
  for (int i = 3, n = year; i >= 0; --i, n /= 10) text[i] = static_cast<char>('0' + n % 10);
  text[4] = static_cast<char>('0' + month / 10);
  text[5] = static_cast<char>('0' + month % 10);
  text[6] = static_cast<char>('0' + day / 10);
  text[7] = static_cast<char>('0' + day % 10);
  return Value(std::string_view(text, sizeof text));
}

// Reverses the order of each type inside an ascending key: text byte by byte
// to (256 - b) mod 256, numbers and dates to negatives, logicals flipped.
Value call_descend(const Value* a, int, const CallNode& call, Evaluation& e) {
  const Value& v = a[0];
  switch (v.type()) {
    case ValueType::Text: {
      std::string reversed = v.text();
      for (char& c : reversed) c = static_cast<char>((256u - static_cast<unsigned char>(c)) & 0xFFu);
      return Value(std::move(reversed));
    }
    case ValueType::Number: return Value(v.number() == 0 ? 0.0 : -v.number());
    case ValueType::Date: return Value(kDescendDateBase - static_cast<double>(v.date().day_number()));
    case ValueType::Logical: return Value(!v.logical());
    case ValueType::List: break;
  }
  e.fail("DESCEND takes text, a number, a date or a logical", call.position());
  return Value(std::string());
}

// STR(n[, width[, decimals]]): n right-aligned in width with the decimals,
// rounded half away from zero exactly as a numeric field stores it; stars
// when it does not fit. Without a width, the width and decimals n carries;
// with a width but no decimals, none.
Value call_str(const Value* a, int count, const CallNode& call, Evaluation& e) {
  const NumericLayout carried = call.argument(0).layout();
  long long width = carried.width;
  long long decimals = carried.decimals;
  if (count >= 2) {
    need(a[1].is_number(), "STR takes a numeric width", call, e);
    width = whole(a[1]);
    decimals = 0;
    if (width < 1) width = carried.width;
  }
  if (count >= 3) {
    need(a[2].is_number(), "STR takes numeric decimals", call, e);
    decimals = whole(a[2]);
  }
  width = std::clamp(width, 1LL, static_cast<long long>(kMaxStrWidth));
  decimals = std::clamp(decimals, 0LL, width);
  const int w = static_cast<int>(width);
  std::string text(static_cast<std::size_t>(w), ' ');
  if (!need(a[0].is_number(), "STR takes a number", call, e)) return Value(std::move(text));
  if (!write_number_text(a[0].number(), w, static_cast<int>(decimals), text.data())) text.assign(text.size(), '*');
  return Value(std::move(text));
}

// Only a-z change: the letters of code page 852 keep their bytes, as every
// other program of the system computes the key.
Value call_upper(const Value* a, int, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text(), "UPPER takes text", call, e)) return Value(std::string());
  std::string upper = a[0].text();
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return Value(std::move(upper));
}

// SUBSTR(s, start[, length]), 1-based: start 0 counts as 1, a negative start
// counts from the end (-1 is the last character; before the first counts as
// the first), a start beyond the end or a length below 1 gives "".
Value call_substr(const Value* a, int count, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text() && a[1].is_number() && (count < 3 || a[2].is_number()),
            "SUBSTR takes text, a numeric start and a numeric length", call, e))
    return Value(std::string());
  const std::string& s = a[0].text();
  const auto size = static_cast<long long>(s.size());
  long long start = whole(a[1]);
  if (start < 0) start = size + start + 1;
  if (start < 1) start = 1;
  if (start > size) return Value(std::string());
  long long length = count >= 3 ? whole(a[2]) : size;
  if (length < 1) return Value(std::string());
  length = std::min(length, size - start + 1);
  return text_result(std::string_view(s).substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}

// LEFT/RIGHT(s, n): the first/last n characters, all of s when it is shorter,
// "" for n below 1.
long long taken_length(const Value* a, const char* problem, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text() && a[1].is_number(), problem, call, e)) return 0;
  return std::clamp(whole(a[1]), 0LL, static_cast<long long>(a[0].text().size()));
}

Value call_left(const Value* a, int, const CallNode& call, Evaluation& e) {
  const auto n = static_cast<std::size_t>(taken_length(a, "LEFT takes text and a number", call, e));
  return text_result(std::string_view(a[0].text()).substr(0, n));
}

Value call_right(const Value* a, int, const CallNode& call, Evaluation& e) {
  const auto n = static_cast<std::size_t>(taken_length(a, "RIGHT takes text and a number", call, e));
  const std::string& s = a[0].text();
  return text_result(std::string_view(s).substr(s.size() - n));
}

std::string_view without_trailing_blanks(std::string_view s) {
  const std::size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

std::string_view without_leading_blanks(std::string_view s) {
  const std::size_t start = s.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view() : s.substr(start);
}

Value call_rtrim(const Value* a, int, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text(), "TRIM takes text", call, e)) return Value(std::string());
  return text_result(without_trailing_blanks(a[0].text()));
}

Value call_ltrim(const Value* a, int, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text(), "LTRIM takes text", call, e)) return Value(std::string());
  return text_result(without_leading_blanks(a[0].text()));
}

Value call_alltrim(const Value* a, int, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text(), "ALLTRIM takes text", call, e)) return Value(std::string());
  return text_result(without_leading_blanks(without_trailing_blanks(a[0].text())));
}

// VAL reads a number the way a numeric field is read: leading blanks, a
// sign, digits and one point; it stops at anything else.
Value call_val(const Value* a, int, const CallNode& call, Evaluation& e) {
  if (!need(a[0].is_text(), "VAL takes text", call, e)) return Value(0.0);
  return Value(parse_number(a[0].text()));
}

Value call_recno(const Value*, int, const CallNode&, Evaluation& e) { return Value(e.ctx.record_number()); }

using Kind = FunctionInfo::Kind;
using Layout = FunctionInfo::ResultLayout;

constexpr std::array kFunctions{
    FunctionInfo{"DTOS", 1, 1, Kind::Plain, Layout::Standard, call_dtos},
    FunctionInfo{"DESCEND", 1, 1, Kind::Plain, Layout::FirstArgument, call_descend},
    FunctionInfo{"STR", 1, 3, Kind::Plain, Layout::Standard, call_str},
    FunctionInfo{"UPPER", 1, 1, Kind::Plain, Layout::Standard, call_upper},
    FunctionInfo{"SUBSTR", 2, 3, Kind::Plain, Layout::Standard, call_substr},
    FunctionInfo{"IIF", 3, 3, Kind::Conditional, Layout::Standard, nullptr},
    FunctionInfo{"IF", 3, 3, Kind::Conditional, Layout::Standard, nullptr},
    FunctionInfo{"RECNO", 0, 0, Kind::Plain, Layout::RecordNumber, call_recno},
    FunctionInfo{"LEFT", 2, 2, Kind::Plain, Layout::Standard, call_left},
    FunctionInfo{"RIGHT", 2, 2, Kind::Plain, Layout::Standard, call_right},
    FunctionInfo{"TRIM", 1, 1, Kind::Plain, Layout::Standard, call_rtrim},
    FunctionInfo{"RTRIM", 1, 1, Kind::Plain, Layout::Standard, call_rtrim},
    FunctionInfo{"LTRIM", 1, 1, Kind::Plain, Layout::Standard, call_ltrim},
    FunctionInfo{"ALLTRIM", 1, 1, Kind::Plain, Layout::Standard, call_alltrim},
    FunctionInfo{"VAL", 1, 1, Kind::Plain, Layout::Standard, call_val},
};

constexpr std::size_t kShortestAbbreviation = 4;

}  // namespace

const FunctionInfo* find_function(std::string_view name, std::string& problem) {
  for (const FunctionInfo& f : kFunctions)
    if (name == f.name) return &f;
  const FunctionInfo* found = nullptr;
  if (name.size() >= kShortestAbbreviation) {
    for (const FunctionInfo& f : kFunctions) {
      if (!std::string_view(f.name).starts_with(name)) continue;
      if (found) {
        problem = "function name " + std::string(name) + " fits both " + found->name + " and " + f.name;
        return nullptr;
      }
      found = &f;
    }
  }
  if (!found) problem = "unknown function " + std::string(name);
  return found;
}

NumericLayout result_layout(const FunctionInfo& function, const std::vector<NodePtr>& arguments) {
  switch (function.layout) {
    case Layout::Standard: return NumericLayout{};
    case Layout::FirstArgument: return arguments.empty() ? NumericLayout{} : arguments.front()->layout();
    case Layout::RecordNumber: return NumericLayout{7, 0};
  }
  return NumericLayout{};
}

}  // namespace intra::key_expr
