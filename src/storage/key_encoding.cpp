#include "storage/key_encoding.h"

#include <algorithm>
#include <cstring>

#include "storage/field_codec.h"
#include "storage/number_text.h"

namespace intra {
namespace {

// Digits of a negative key: d -> 92 - d. The map is its own inverse and
// keeps the decimal point ('.' is 46 = 92 - 46).
constexpr char kNegativeMirror = 92;

char mirrored(char c) { return static_cast<char>(kNegativeMirror - c); }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

void encode_numeric(double n, const KeyShape& shape, char* out) {
  const auto size = static_cast<std::size_t>(shape.size);
  if (!write_number_text(n, shape.size, shape.decimals, out)) {
    std::memset(out, '*', size);
    return;
  }
  std::size_t first = 0;
  while (first < size && out[first] == ' ') out[first++] = '0';
  if (first == size || out[first] != '-') return;
  out[first] = '0';
  for (std::size_t i = 0; i < size; ++i)
    if (is_digit(out[i])) out[i] = mirrored(out[i]);
}

void encode_text(std::string_view text, std::size_t size, char* out) {
  const std::size_t copied = std::min(text.size(), size);
  std::memcpy(out, text.data(), copied);
  std::memset(out + copied, ' ', size - copied);
}

bool matches(const Value& v, KeyType type) {
  switch (type) {
    case KeyType::Character: return v.is_text();
    case KeyType::Numeric: return v.is_number();
    case KeyType::Date: return v.is_date();
    case KeyType::Logical: return v.is_logical();
  }
  return false;
}

}  // namespace

KeyShapeFault key_shape_fault(const Value& blank_value, int numeric_width) {
  switch (blank_value.type()) {
    case ValueType::Text: return blank_value.text().empty() ? KeyShapeFault::DataWidth : KeyShapeFault::None;
    case ValueType::Number:
      return numeric_width < 1 || numeric_width > kLongestKey ? KeyShapeFault::DataWidth : KeyShapeFault::None;
    case ValueType::Date:
    case ValueType::Logical: return KeyShapeFault::None;
    case ValueType::List: return KeyShapeFault::DataType;
  }
  return KeyShapeFault::DataType;
}

std::optional<KeyShape> key_shape_of(const Value& blank_value, int numeric_width, int numeric_decimals) {
  if (key_shape_fault(blank_value, numeric_width) != KeyShapeFault::None) return std::nullopt;
  switch (blank_value.type()) {
    case ValueType::Text: {
      const int size = static_cast<int>(std::min<std::size_t>(blank_value.text().size(), kLongestKey));
      return KeyShape{KeyType::Character, size, 0};
    }
    case ValueType::Number:
      return KeyShape{KeyType::Numeric, numeric_width, std::clamp(numeric_decimals, 0, numeric_width)};
    case ValueType::Date: return KeyShape{KeyType::Date, 8, 0};
    case ValueType::Logical: return KeyShape{KeyType::Logical, 1, 0};
    case ValueType::List: break;
  }
  return std::nullopt;
}

void encode_key_into(const Value& v, const KeyShape& shape, char* out) {
  if (shape.size <= 0) return;
  const auto size = static_cast<std::size_t>(shape.size);
  if (!matches(v, shape.type)) {
    std::memset(out, ' ', size);
    return;
  }
  switch (shape.type) {
    case KeyType::Character: encode_text(v.text(), size, out); return;
    case KeyType::Numeric: encode_numeric(v.number(), shape, out); return;
    case KeyType::Date: encode_text(v.date().dtos(), size, out); return;
    case KeyType::Logical: encode_text(v.logical() ? "T" : "F", size, out); return;
  }
}

std::string encode_key(const Value& v, const KeyShape& shape) {
  std::string key(static_cast<std::size_t>(std::max(shape.size, 0)), ' ');
  encode_key_into(v, shape, key.data());
  return key;
}

std::string encode_search_key(const Value& v, const KeyShape& shape) {
  if (shape.type == KeyType::Character && v.is_text() && v.text().size() < static_cast<std::size_t>(shape.size))
    return v.text();
  return encode_key(v, shape);
}

Value decode_numeric_key(std::string_view bytes) {
  if (bytes.empty() || bytes.front() != mirrored('0')) return Value(parse_number(bytes));
  std::string text(bytes);
  for (char& c : text) c = mirrored(c);
  text.front() = '-';
  return Value(parse_number(text));
}

}  // namespace intra
