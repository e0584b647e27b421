#pragma once
// Key values -> the bytes an index file stores and compares. Every program
// that shares the index compares keys byte by byte (unsigned, no collation),
// so each type is written in a form whose byte order is the value order:
//
//   character  the text, padded with spaces or cut to the key size
//   numeric    the number as a numeric field of the key's size and decimals
//              writes it, then: leading spaces -> '0'; when negative, the
//              '-' -> '0' and every digit d -> the byte 92 - d ('0' -> ',',
//              '9' -> '#'), so -5 in 5 bytes is ",,,,'" and sorts before
//              "00005", and -10 (",,,+,") before -5
//   date       "YYYYMMDD", the empty date 8 spaces
//   logical    "T" or "F"
#include <optional>
#include <string>
#include <string_view>

#include "main/value.h"

namespace intra {

enum class KeyType { Character, Numeric, Date, Logical };

struct KeyShape {
  KeyType type;
  int size;      // bytes of every key stored in the tree
  int decimals;  // numeric keys only
  friend bool operator==(const KeyShape&, const KeyShape&) = default;
};

constexpr int kLongestKey = 256;

// The shape of an index, from the key expression's value on a blank record:
// character keys are as long as that value (at most 256); numeric keys as
// wide as the expression's numeric layout, `numeric_width` counting every
// character as a numeric field does (integer places + decimals + 1 when it
// has decimals: N 15,2 is 15 wide); dates 8; logicals 1. Nothing when the
// value has no key form or a width of 0 (see key_shape_fault for which).
std::optional<KeyShape> key_shape_of(const Value& blank_value, int numeric_width, int numeric_decimals);

enum class KeyShapeFault { None, DataType, DataWidth };
// Why key_shape_of gives nothing: DataType for a value with no key form
// (a list), DataWidth for an empty text or a numeric width outside 1..256.
KeyShapeFault key_shape_fault(const Value& blank_value, int numeric_width);

// The stored key: exactly shape.size bytes. A value of another type than the
// shape's (a fault of the key expression) is stored as shape.size spaces.
// A number too wide for the key is stored as stars, as a numeric field does.
std::string encode_key(const Value& v, const KeyShape& shape);
// The same into shape.size bytes at `out`, for bulk builds that fill a
// buffer of keys without one allocation per key.
void encode_key_into(const Value& v, const KeyShape& shape, char* out);

// The key a seek looks for: as encode_key, except that a character value
// shorter than the key keeps its own length, so that the search matches
// every key that begins with it.
std::string encode_search_key(const Value& v, const KeyShape& shape);

// The number a numeric key holds: ",,,,'" -> -5, "00005" -> 5.
Value decode_numeric_key(std::string_view bytes);

}  // namespace intra
