#pragma once
// Field bytes of a table record <-> values, for every field type a table of
// the shared database can hold. The codec is pure: it never touches a file;
// the table engine hands it the bytes of one field inside its record buffer.
//
//   C  text, left-aligned, space padded, cut to the width; bytes unchanged
//   N F decimal text right-aligned, `decimals` digits after the point
//   D  width 8: "YYYYMMDD"; width 3: binary 24-bit Julian day number
//   L  'T' / 'F'; reads T t Y y as true
//   M  width 10: block number in decimal, right-aligned; width 4: binary u32
//   I  binary signed integer of width 1 to 4 or 8 (other widths: first 4 bytes)
//   B 8 binary IEEE double;  2 4  binary signed 16 / 32-bit integer
//
// All binary forms are little-endian whatever the host is.
#include <optional>
#include <string>
#include <string_view>

#include "main/value.h"
#include "storage/dbf_header.h"

namespace intra {

enum class EncodeResult { Ok, DataWidth, DataType };

// Decodes a field from its bytes (normally exactly field.width bytes; fewer
// bytes never read out of bounds). A memo field gives its block number as a
// number: reading the text from the memo file is the engine's business.
Value decode_field(const FieldDescriptor& field, std::string_view bytes);

// Encodes `value` into the field.width bytes at `out`.
//  - Ok: the field is overwritten whole.
//  - DataType: the value has the wrong type for the field; `out` is untouched.
//  - DataWidth: a number does not fit. An N/F field is then filled with '*'
//    (the form other programs show for an overflow); the binary and memo
//    forms, which have no such marker, are left untouched.
// A memo field takes its block number as a number (0 = no memo).
EncodeResult encode_field(const FieldDescriptor& field, const Value& value, char* out);

// The bytes of a field in a newly appended or phantom record: spaces for the
// text forms, zero bytes for the binary ones.
void blank_field(const FieldDescriptor& field, char* out);

// `value` as decimal text right-aligned in `width`, with exactly `decimals`
// digits after the point, rounded half away from zero as a person reading
// the decimal number expects (2.675 -> "2.68"); nothing when it does not fit.
std::optional<std::string> format_number(double value, int width, int decimals);
// The same, written straight into `out` (width bytes); false and `out`
// untouched when it does not fit.
bool format_number_into(double value, int width, int decimals, char* out);

// A numeric field's text: leading spaces, an optional sign, digits with at
// most one decimal point; reading stops at any other character, so "*****",
// blanks and garbage read as 0 and " 12abc" as 12. Independent of the locale.
double parse_number(std::string_view text);

// Whether a descriptor's type letter and width are ones this codec can read;
// anything else is a damaged descriptor and makes the table corrupt.
bool valid_field_type(char type, int width);

}  // namespace intra
