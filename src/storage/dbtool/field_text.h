#pragma once
// A table field as CSV text and back.
//
//   C  the text; export drops trailing blanks (the padding of the field)
//   N F the stored number text without its leading blanks ("-3.50"), so
//      the decimals are kept; import takes [-+]digits[.digits], nothing else
//   D  YYYYMMDD, or empty for the empty date
//   L  T or F, empty for a blank field; import takes T F t f Y N y n
//   M  the memo text, which cannot hold the byte 0x1A
//   I 2 4 B 8  the number in plain decimals
// An empty CSV value leaves the field blank.
#include <optional>
#include <string>
#include <string_view>

#include "main/value.h"
#include "storage/dbf_header.h"
#include "storage/table.h"

namespace intra::dbtool {

// The value to store for `text` (table bytes), nothing when the field stays
// blank; false with `problem` ("\"12,5\" is not a number") for bad text.
bool parse_field_text(const FieldDescriptor& field, std::string_view text, std::optional<Value>& value,
                      std::string& problem);

// The CSV text of field `index` of the table's current record; false on an
// engine error (see table.error()).
bool field_text(Table& table, int index, std::string& text);

}  // namespace intra::dbtool
