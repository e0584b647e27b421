#pragma once
// Writes the field-specification string TWORZ takes (the form is described
// in storage/field_spec_string.h): the table's file name first, then per
// field the name padded to 10, the type letter, and width and decimals
// right-aligned in 3, all comma-separated.
//
//   structure_string("24\\05\\wal", wal_structure(c))
//     == "24\\05\\wal,WALUTA    ,C,  3,  0,DATA      ,D,  8,  0,KURS      ,N, 12,  6"
#include <string>
#include <string_view>
#include <vector>

#include "storage/table.h"

namespace intra {

std::string structure_string(std::string_view table, const std::vector<FieldSpec>& fields);

}  // namespace intra
