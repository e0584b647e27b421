#pragma once
// The field-specification string from which a table is created:
//
//   "24\05\as,MAG       ,C,  1,  0,INDEKS    ,C,  8,  0"
//
// Comma-separated entries: the table's file name (without extension, may
// carry a relative directory), then four entries per field: name, type
// letter, width, decimals. Blanks around an entry mean nothing (callers pad
// names to 10 characters and right-align numbers in 3), and one trailing
// comma after the last decimals entry is allowed.
//
// The parser checks the form only: names, letters and numbers. Whether a
// width suits its type is the table engine's decision at creation.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/table.h"

namespace intra {

struct ParsedSpec {
  std::string path;                // the table's file name as written, blanks trimmed
  std::vector<FieldSpec> fields;   // names in capitals, type letters in capitals
};

// The table name and its fields, or nothing with `problem` saying what is
// wrong and where ("field 2 (INDEKS): width \"8x\" is not a number").
std::optional<ParsedSpec> parse_field_spec_string(std::string_view text, std::string& problem);

}  // namespace intra
